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

void Layer::Take(const std::vector<Control*>& controls) {
    QWidget* client = container_->ClientWidget();
    std::vector<std::pair<qsizetype, Control*>> stacked;
    for (Control* c : controls)
        if (c->container_ == container_ && !c->layer_ && c->widget_ && c->widget_->parentWidget() == client)
            stacked.emplace_back(client->children().indexOf(c->widget_.data()), c);
    if (stacked.empty()) return;
    std::sort(stacked.begin(), stacked.end());

    QRect reach;
    for (const auto& [at, c] : stacked) reach |= c->ClientRect();
    if (!pane_) {
        pane_ = new QWidget(client);
        pane_->setGeometry(reach);
        // Where the lowest of the controls lies among the container's children.
        pane_->stackUnder(stacked.front().second->widget_);
        pane_->show();
    } else if (!pane_->geometry().contains(reach)) {
        Reach(reach);
    }
    for (const auto& [at, c] : stacked) {
        QWidget* w = c->widget_;
        const bool shown = !w->isHidden();
        members_.push_back(c);
        c->layer_ = this;
        w->setParent(pane_);  // on top of those taken before it
        c->PlaceWidget();
        if (shown) w->show();
    }
}

QPoint Layer::Offset() const { return pane_ ? pane_->pos() : QPoint(); }

void Layer::Reach(const QRect& rect) {
    if (!pane_) return;
    pane_->setGeometry(pane_->geometry() | rect);
    for (Control* c : members_)
        if (c->widget_) c->PlaceWidget();
}

void Layer::Forget(Control* control) { members_.erase(std::remove(members_.begin(), members_.end(), control), members_.end()); }

}  // namespace forms
