#pragma once
// The settings screen: chooses the conversion base and the signed mode (both
// take effect on the shared state at once), stores them as the defaults for
// the next start, shows the change log, opens the mail link and returns to
// the calculator screen.
//
// The screen builds its views in code the first time its view is asked for
// and keeps them for the rest of the run. The picker and the switch are read
// from the shared state only then, so on a later visit they show what was last
// chosen here.
//
// Keyboard focus: one of the picker, the Signed switch and the bar buttons
// (Back, Save, Change Log, E-mail me), drawn with a focus frame. It stands on
// the picker when the screen is built and each time it comes to show
// (resetFocus); Tab and Shift+Tab move it round in reading order. The
// screen's other keys (the picker's arrows, Space for the switch) act
// wherever it stands.

#include <memory>
#include <string>
#include <vector>

#include "calc/core/Version.h"
#include "ui/BarButtonItem.h"
#include "ui/Control.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

class CustomUIScrollView;
namespace ui {
class NavigationBar;
class Switch;
class Toolbar;
}  // namespace ui

class SettingsViewController : public ui::ViewController,
                               public ui::PickerViewDataSource,
                               public ui::PickerViewDelegate {
public:
    // Texts of the screen: the title bar's; the change log's title, which is
    // also the mail's subject; the mail's address; the credits
    static constexpr const char* kTitle = "Mervik v. " MERVIK_RELEASE;
    static constexpr const char* kAppName = "Mervik v " MERVIK_RELEASE;
    static constexpr const char* kSupportAddress = "support@mervik.app";
    static constexpr const char* kCredits = "Mervik by the Mervik team\nDisplay face by the Mervik team";

    SettingsViewController() = default;
    ~SettingsViewController() override;

    // Parts of the screen, once built (null before)
    const std::vector<std::string>& pickerArray() const { return pickerArray_; }
    void setPickerArray(std::vector<std::string> titles) { pickerArray_ = std::move(titles); }
    const std::shared_ptr<ui::PickerView>& basePickerView() const { return basePickerView_; }
    const std::shared_ptr<CustomUIScrollView>& myScrollView() const { return myScrollView_; }
    const std::shared_ptr<ui::Switch>& signedSwitch() const { return signedSwitch_; }
    // The bars and their items, owned by the view tree (null before it is built).
    ui::NavigationBar* titleBar() const { return titleBar_; }
    ui::Toolbar* buttonBar() const { return buttonBar_; }
    ui::BarButtonItem* backItem() const { return backItem_; }
    ui::BarButtonItem* saveItem() const { return saveItem_; }
    ui::BarButtonItem* changeLogItem() const { return changeLogItem_; }
    ui::BarButtonItem* emailItem() const { return emailItem_; }

    // Keyboard focus
    enum class Focus { Back, Picker, Signed, Save, ChangeLog, Email };
    Focus focus() const { return focus_; }
    // STEP +1 (Tab) to the next control in reading order, -1 (Shift+Tab) to
    // the one before, round from the last to the first.
    void moveFocus(int step);
    void resetFocus();
    // The control that has the focus, or null before the screen is built.
    ui::View* focusedView() const;

    // Actions (the senders are not used)
    void switchSign(ui::Control* sender);
    void saveDefaultBase(ui::BarButtonItem* sender);
    void returnView(ui::BarButtonItem* sender);
    void viewLog(ui::BarButtonItem* sender);
    void emailMe(ui::BarButtonItem* sender);

    // The base picker's questions and its selections
    int numberOfComponents(ui::PickerView* picker) override;
    int numberOfRowsInComponent(ui::PickerView* picker, int component) override;
    std::string titleForRow(ui::PickerView* picker, int row, int component) override;
    void didSelectRow(ui::PickerView* picker, int row, int component) override;

protected:
    // Loads nothing: viewDidLoad builds the view and installs it.
    void loadView() override;
    void viewDidLoad() override;

private:
    // Shows a modal alert with TITLE, MESSAGE and the single button "OK".
    void showAlert(const std::string& title, const std::string& message);
    // The control standing for FOCUS, or null before the screen is built.
    ui::View* viewFor(Focus focus) const;
    // Moves the focus frame to FOCUS.
    void setFocus(Focus focus);

    std::vector<std::string> pickerArray_;
    std::shared_ptr<ui::PickerView> basePickerView_;
    std::shared_ptr<CustomUIScrollView> myScrollView_;
    std::shared_ptr<ui::Switch> signedSwitch_;
    std::shared_ptr<ui::View> contentView_;
    ui::NavigationBar* titleBar_ = nullptr;
    ui::Toolbar* buttonBar_ = nullptr;
    ui::BarButtonItem* backItem_ = nullptr;
    ui::BarButtonItem* saveItem_ = nullptr;
    ui::BarButtonItem* changeLogItem_ = nullptr;
    ui::BarButtonItem* emailItem_ = nullptr;
    Focus focus_ = Focus::Picker;
};
