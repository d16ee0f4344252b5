// Menus and menu items of a form's menu bar. A menu that has items opens
// them; an item raises Click when chosen. Checked is shown but never toggled
// by choosing the item: the program's handler decides, as in VB. A caption
// of "-" makes the item a separator line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QPointer>

#include "platform/forms/control.h"

class QAction;
class QMenu;

namespace forms {

class Form;

class Menu : public Object, public PropertyOwner {
public:
    explicit Menu(Form& form);   // a menu of the form's menu bar
    explicit Menu(Menu& parent);  // an item (or a submenu) of `parent`
    ~Menu() override;

    Property<std::string> Caption{this, kCaption};
    // The key that chooses the item, as "Ctrl+N" or "F1"; "" for none.
    Property<std::string> Shortcut{this, kShortcut};
    Property<bool> Checked{this, kChecked, false};
    Property<bool> Enabled{this, kEnabled, true};
    Property<bool> Visible{this, kVisible, true};

    std::function<void()> Click;

    // Chooses the item as the user would: raises Click only when the item and
    // every menu above it are enabled and visible. Returns whether it did.
    bool PerformClick();

    const std::vector<Menu*>& Items() const { return items_; }
    Menu* ParentMenu() const { return parent_; }
    QAction* Action() const { return action_; }

    void PropertyChanged(int id) override;

private:
    enum : int { kCaption, kShortcut, kChecked, kEnabled, kVisible };
    void Create(QWidget* owner);
    QMenu* SubMenu();
    void Triggered();

    Form* form_ = nullptr;
    Menu* parent_ = nullptr;
    QPointer<QAction> action_;
    QPointer<QMenu> submenu_;
    std::vector<Menu*> items_;
};

}  // namespace forms
