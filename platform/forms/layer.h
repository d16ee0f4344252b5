// A see-through widget that carries the widgets of a set of controls lying
// together on a form, such as a keyboard of a hundred buttons. Whenever Qt
// repaints part of a window it walks the children of each widget it paints,
// and works out what covers what among them; with the buttons in a layer the
// form has one child there instead of a hundred, and the layer's own children
// are looked at only where a repaint reaches its rectangle.
//
// The controls stay their container's own: their coordinates, their place in
// its Controls(), their events and z-order among each other are unchanged.
// Only their widgets lie in the layer, which reaches over the rectangle they
// take; a control moved beyond it makes it grow.
//
// The layer itself is nowhere to be seen and takes no input: a click between
// its controls goes to the container, as it would without the layer. It must
// therefore cover no other control of the container that lies below it (that
// control would no longer get those clicks); whatever lies above it is free.
// Controls that move about freely (dragged by the user) stay out of layers:
// the layer would grow wherever they went.
#pragma once

#include <QPointer>
#include <QRect>
#include <vector>

class QWidget;

namespace forms {

class Container;
class Control;

class Layer {
public:
    explicit Layer(Container& container);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // While a Gathering lives, every control made on the layer's container
    // lies in the layer; once it ends, the layer takes the rectangle of its
    // controls. The layer stands among the container's children where it was
    // first gathered into, so its controls are best made one after another.
    class Gathering {
    public:
        explicit Gathering(Layer& layer);
        ~Gathering();
        Gathering(const Gathering&) = delete;
        Gathering& operator=(const Gathering&) = delete;

    private:
        Layer& layer_;
    };

    QWidget* Widget() const { return pane_; }
    const std::vector<Control*>& Members() const { return members_; }

private:
    friend class Control;
    // Where the container's client area has its origin in the layer.
    QPoint Offset() const;
    // Makes room for a control placed at `rect` (client area coordinates).
    void Reach(const QRect& rect);
    // Takes the rectangle of the controls.
    void Fit();
    void Join(Control* control);
    void Forget(Control* control);

    Container* container_;
    QPointer<QWidget> pane_;
    std::vector<Control*> members_;
    bool gathering_ = false;
};

}  // namespace forms
