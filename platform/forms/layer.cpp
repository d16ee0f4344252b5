#include "platform/forms/layer.h"

#include <algorithm>

#include <QWidget>

#include "platform/forms/control.h"

namespace forms {

Layer::Layer(Container& container) : container_(&container) {}

Layer::~Layer() {
    // The controls normally go first; any left keep their properties but
    // lose their widgets with the layer's.
    for (Control* c : members_) c->layer_ = nullptr;
    delete pane_.data();
}

Layer::Gathering::Gathering(Layer& layer) : layer_(layer) {
    Container& c = *layer.container_;
    if (!layer.pane_) {
        // On top of what the container holds so far; the controls gathered
        // stand in it at their own coordinates until the layer is fitted.
        layer.pane_ = new QWidget(c.ClientWidget());
        layer.pane_->setGeometry(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layer.pane_->show();
    } else {
        layer.Reach({0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX});
    }
    layer.gathering_ = true;
    c.gathering_ = &layer;
}

Layer::Gathering::~Gathering() {
    layer_.container_->gathering_ = nullptr;
    layer_.gathering_ = false;
    layer_.Fit();
}

void Layer::Join(Control* control) {
    members_.push_back(control);
    control->layer_ = this;
}

void Layer::Fit() {
    if (!pane_) return;
    QRect reach;
    for (Control* c : members_) reach |= c->ClientRect();
    pane_->setGeometry(reach);
    for (Control* c : members_)
        if (c->widget_) c->PlaceWidget();
}

QPoint Layer::Offset() const { return pane_ ? pane_->pos() : QPoint(); }

void Layer::Reach(const QRect& rect) {
    if (!pane_ || gathering_) return;
    pane_->setGeometry(pane_->geometry() | rect);
    for (Control* c : members_)
        if (c->widget_) c->PlaceWidget();
}

void Layer::Forget(Control* control) { members_.erase(std::remove(members_.begin(), members_.end(), control), members_.end()); }

}  // namespace forms
