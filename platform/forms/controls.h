// The controls of the program's forms. Each wraps one Qt widget and keeps its
// properties as the program set them; events are the VB ones, raised from
// user input and, where VB raises them for code too, from assignments
// (a CheckBox's Value, an OptionButton set to True, a TextBox's Text, a
// Slider's Value).
#pragma once

#include <string>
#include <vector>

#include "platform/forms/control.h"
#include "platform/forms/picture.h"

class QComboBox;
class QLineEdit;
class QSlider;

namespace forms {

// Label alignment.
inline constexpr int vbLeftJustify = 0;
inline constexpr int vbRightJustify = 1;
inline constexpr int vbCenter = 2;
// CheckBox values.
inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;
inline constexpr int vbGrayed = 2;
// CommandButton styles.
inline constexpr int vbButtonStandard = 0;
inline constexpr int vbButtonGraphical = 1;
// ComboBox styles.
inline constexpr int vbComboDropdown = 0;
inline constexpr int vbComboDropdownList = 2;

// A push button. Its BackColor shows only with Style vbButtonGraphical, as
// the program's coloured buttons (piano keys, interval buttons) are designed.
// Return presses the focused button; Default and Cancel name the buttons
// that Return (elsewhere in the form) and Escape press (Form::TakeKey). A
// form has one of each at most: setting one clears it on the others.
class CommandButton : public Control {
public:
    explicit CommandButton(Container& parent);

    Property<std::string> Caption{this, kCaption};
    Property<int> Style{this, kStyle, vbButtonStandard};
    Property<bool> Default{this, kDefault, false};
    Property<bool> Cancel{this, kCancel, false};

protected:
    enum : int { kCaption = kFirstOwn, kStyle, kDefault, kCancel };
    void ApplyOwn(int id) override;
    void ApplyColors() override;
    bool ClicksOnRelease() const override { return false; }
    bool RepaintsOnLookChange() const override { return true; }
    std::string Look() const override;
};

class Label : public Control {
public:
    explicit Label(Container& parent);

    Property<std::string> Caption{this, kCaption};
    Property<int> Alignment{this, kAlignment, vbLeftJustify};
    Property<int> BackStyle{this, kBackStyle, 1};    // 0 transparent, 1 opaque
    Property<int> BorderStyle{this, kBorderStyle, 0};  // 0 none, 1 fixed single
    Property<bool> WordWrap{this, kWordWrap, true};

protected:
    enum : int { kCaption = kFirstOwn, kAlignment, kBackStyle, kBorderStyle, kWordWrap };
    void ApplyOwn(int id) override;
    void ApplyColors() override;
    bool RepaintsOnLookChange() const override { return true; }
    std::string Look() const override;

private:
    void StayOutOfPaintingIfBlank();
};

// A picture without a background of its own. Without Stretch it takes the
// size of the picture assigned to it (Width and Height change to match, as
// VB's Image does); with Stretch the picture fills the control.
class Image : public Control {
public:
    explicit Image(Container& parent);

    Property<forms::Picture> Picture{this, kPicture};
    Property<bool> Stretch{this, kStretch, false};
    Property<int> BorderStyle{this, kBorderStyle, 0};

protected:
    enum : int { kPicture = kFirstOwn, kStretch, kBorderStyle };
    void ApplyOwn(int id) override;
    void ApplyColors() override {}
    bool HidesByPainting() const override { return true; }
    bool RepaintsOnLookChange() const override { return true; }
    std::string Look() const override;
};

// A box with a background that shows its picture at the top left, unscaled,
// and holds other controls.
class PictureBox : public Control, public Container {
public:
    explicit PictureBox(Container& parent);

    Property<forms::Picture> Picture{this, kPicture};
    Property<int> BorderStyle{this, kBorderStyle, 1};  // 0 none, 1 fixed single

    QWidget* ClientWidget() override { return Widget(); }
    QPoint ClientOrigin() const override;

protected:
    enum : int { kPicture = kFirstOwn, kBorderStyle };
    void ApplyOwn(int id) override;
    void ApplyColors() override;
};

class CheckBox : public Control {
public:
    explicit CheckBox(Container& parent);

    Property<std::string> Caption{this, kCaption};
    Property<int> Value{this, kValue, vbUnchecked};  // Click is raised when it changes

protected:
    enum : int { kCaption = kFirstOwn, kValue };
    void ApplyOwn(int id) override;
    bool ClicksOnRelease() const override { return false; }

private:
    int shown_ = vbUnchecked;
};

// Option buttons placed in the same container form one group: setting one to
// True sets the others to False. The group is one stop for Tab (the chosen
// option, else the first one); the arrow keys go from option to option
// within it, round at the ends, and choose the option they reach.
class OptionButton : public Control {
public:
    explicit OptionButton(Container& parent);

    Property<std::string> Caption{this, kCaption};
    Property<bool> Value{this, kValue, false};  // Click is raised when it becomes True

protected:
    enum : int { kCaption = kFirstOwn, kValue };
    void ApplyOwn(int id) override;
    bool ClicksOnRelease() const override { return false; }
    bool ActOnKey(const QKeyEvent& key) override;
    void AvailabilityChanged() override;

private:
    // The options of this one's group that the user can reach, in order.
    std::vector<OptionButton*> Reachable() const;
    void PlaceTabStop();

    bool shown_ = false;
};

// A captioned frame; its children's Left and Top are measured from its own
// top left corner.
class Frame : public Control, public Container {
public:
    explicit Frame(Container& parent);

    Property<std::string> Caption{this, kCaption};

    QWidget* ClientWidget() override { return Widget(); }

protected:
    enum : int { kCaption = kFirstOwn };
    void ApplyOwn(int id) override;
};

class ComboBox : public Control {
public:
    explicit ComboBox(Container& parent);

    Property<int> Style{this, kStyle, vbComboDropdown};
    Property<std::string> Text{this, kText, {}, Notify::Always};  // the edit field (the chosen item in a list style)
    Property<int> ListIndex{this, kListIndex, -1};  // -1: no item chosen

    void AddItem(const std::string& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;

    // Click: the user chose an item (in the opened list, or with a key or the
    // wheel in the closed box; the item already chosen too), or ListIndex was set.
    std::function<void()> Change;  // the user edited the text, or Text was set

protected:
    enum : int { kStyle = kFirstOwn, kText, kListIndex };
    void ApplyOwn(int id) override;
    void ApplyColors() override;
    bool ClicksOnRelease() const override { return false; }

private:
    QComboBox* combo() const;
    void WireLineEdit();
    void Choose(int index);
    // The widget shows ListIndex and Text as they are.
    void ShowChoice();
};

class TextBox : public Control {
public:
    explicit TextBox(Container& parent);

    Property<std::string> Text{this, kText};
    Property<bool> Locked{this, kLocked, false};

    std::function<void()> Change;  // raised when the text changes, by typing or by code

protected:
    enum : int { kText = kFirstOwn, kLocked };
    void ApplyOwn(int id) override;
    void ApplyColors() override;

private:
    QLineEdit* edit() const;
};

// A horizontal slider of whole numbers.
class Slider : public Control {
public:
    explicit Slider(Container& parent);

    Property<int> Min{this, kRange, 0};
    Property<int> Max{this, kRange, 10};
    Property<int> SmallChange{this, kSteps, 1};
    Property<int> LargeChange{this, kSteps, 5};
    Property<int> Value{this, kValue, 0};

    // Raised when Value changes: by code, by a key or a click beside the
    // thumb, and once when a dragged thumb is let go.
    std::function<void()> Change;

protected:
    enum : int { kRange = kFirstOwn, kSteps, kValue };
    void ApplyOwn(int id) override;

private:
    QSlider* slider() const;
    bool applying_ = false;
};

}  // namespace forms
