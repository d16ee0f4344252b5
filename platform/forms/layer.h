// A see-through widget that carries the widgets of a set of controls lying
// together on a form, such as a keyboard of a hundred buttons. Whenever Qt
// repaints part of a window it walks the children of each widget it paints,
// and works out what covers what among them; with the buttons in a layer the
// form has one child there instead of a hundred, and the layer's own children
// are looked at only where a repaint reaches its rectangle.
//
// The controls stay their container's own: their coordinates, their place in
// its Controls(), their events and z-order among each other are unchanged.
// Only their widgets move into the layer, which stands at the place of the
// lowest of them among its siblings and reaches over the rectangle they take;
// a control moved beyond it makes it grow.
//
// The layer itself is nowhere to be seen and takes no input: a click between
// its controls goes to the container, as it would without the layer. It must
// therefore cover no other control of the container that lies below it (that
// control would no longer get those clicks); whatever lies above it is free.
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

    // Moves the widgets of `controls` (controls of the layer's container that
    // are in no layer yet) into the layer, in the order they are stacked.
    void Take(const std::vector<Control*>& controls);

    QWidget* Widget() const { return pane_; }
    const std::vector<Control*>& Members() const { return members_; }

private:
    friend class Control;
    // Where the container's client area has its origin in the layer.
    QPoint Offset() const;
    // Makes room for a control placed at `rect` (client area coordinates).
    void Reach(const QRect& rect);
    void Forget(Control* control);

    Container* container_;
    QPointer<QWidget> pane_;
    std::vector<Control*> members_;
};

}  // namespace forms
