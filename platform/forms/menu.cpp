#include "platform/forms/menu.h"

#include <algorithm>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMainWindow>
#include <QMenuBar>

#include "platform/forms/form.h"

namespace forms {

Menu::Menu(Form& form) : form_(&form) {
    Create(form.Widget());
    form.MenuBar()->addAction(action_);
}

Menu::Menu(Menu& parent) : form_(parent.form_), parent_(&parent) {
    Create(form_->Widget());
    parent.SubMenu()->addAction(action_);
    parent.items_.push_back(this);
    // Shortcuts work while the form is active, whether or not its menu is open.
    form_->Widget()->addAction(action_);
}

Menu::~Menu() {
    if (parent_) {
        auto& siblings = parent_->items_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Menu* item : items_) item->parent_ = nullptr;
    delete submenu_.data();
    delete action_.data();
}

void Menu::Create(QWidget* owner) {
    action_ = new QAction(owner);
    QObject::connect(action_, &QAction::triggered, [this] { Triggered(); });
}

QMenu* Menu::SubMenu() {
    if (!submenu_) {
        submenu_ = new QMenu(form_->Widget());
        submenu_->setTitle(action_->text());
        action_->setMenu(submenu_);
    }
    return submenu_;
}

void Menu::Triggered() {
    // A checkable action flips itself when chosen; Checked stays the program's.
    action_->setChecked(Checked);
    if (!submenu_ && Click) Click();
}

bool Menu::PerformClick() {
    for (Menu* m = this; m; m = m->parent_)
        if (!m->Enabled || !m->Visible) return false;
    if (submenu_) return false;
    if (Click) Click();
    return true;
}

void Menu::PropertyChanged(int id) {
    if (!action_) return;
    switch (id) {
    case kCaption:
        // A separator with a text is a section heading to Qt, drawn with the text.
        action_->setSeparator(Caption() == "-");
        action_->setText(action_->isSeparator() ? QString() : QString::fromStdString(Caption));
        if (submenu_) submenu_->setTitle(action_->text());
        break;
    case kShortcut: action_->setShortcut(QKeySequence::fromString(QString::fromStdString(Shortcut))); break;
    case kChecked:
        action_->setCheckable(action_->isCheckable() || Checked);
        action_->setChecked(Checked);
        break;
    case kEnabled: action_->setEnabled(Enabled); break;
    case kVisible: action_->setVisible(Visible); break;
    default: break;
    }
}

}  // namespace forms
