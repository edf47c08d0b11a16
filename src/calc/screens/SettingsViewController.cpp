#include "calc/screens/SettingsViewController.h"

#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "calc/core/SettingsKeys.h"
#include "calc/screens/CustomUIScrollView.h"
#include "calc/screens/ScreenDelegate.h"
#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Label.h"
#include "ui/Log.h"
#include "ui/NavigationBar.h"
#include "ui/PercentEscape.h"
#include "ui/Resources.h"
#include "ui/Switch.h"
#include "ui/Toolbar.h"
#include "ui/UserDefaults.h"

namespace {

// Row r of the base picker stands for base r + 2.
const std::vector<std::string> kBaseTitles = {
    "2 - Binary",           "3 - Ternary",         "4 - Quaternary",       "5 - Quinary",
    "6 - Senary",           "7 - Septenary",       "8 - Octal",            "9 - Nonary",
    "10 - Decimal",         "11 - Undecimal",      "12 - Duodecimal",      "13 - Tridecimal",
    "14 - Quattuordecimal", "15 - Pentadecimal",   "16 - Hexadecimal",     "17 - Septendecimal",
    "18 - Decennoctal",     "19 - Decennoval",     "20 - Vigesimal",       "21 - Unvigesimal",
    "22 - Duovigesimal",    "23 - Trivigesimal",   "24 - Quattuorvigesimal",
};
constexpr int kFirstBase = 2;

// The scroll area's colour, a light steel blue.
constexpr ui::Color kScrollAreaColor = ui::Color::rgba(0.596f, 0.671f, 0.757f, 1.0f);

// Every label of the screen: white text on clear, with a half-black shadow
// one point above the text.
std::shared_ptr<ui::Label> makeLabel(ui::Rect frame, std::string text, ui::Font font, ui::TextAlignment alignment) {
    auto label = ui::Label::make(frame);
    label->setText(std::move(text));
    label->setFont(font);
    label->setTextAlignment(alignment);
    label->setBackgroundColor(ui::Color::clear());
    label->setTextColor(ui::Color::whiteColor());
    label->setShadowColor(ui::Color::white(0, 0.5f));
    label->setShadowOffset({0, -1});
    return label;
}

// Whether TEXT is well-formed UTF-8 (no stray, cut-off, overlong or surrogate sequences).
bool isValidUtf8(std::string_view text) {
    static constexpr unsigned kSmallest[] = {0, 0x80, 0x800, 0x10000};
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        unsigned code = lead;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// The whole of the resource NAME.TYPE as UTF-8 text; empty when it is missing,
// cannot be read or is not UTF-8.
std::string readTextResource(const std::string& name, const std::string& type) {
    auto path = ui::Resources::pathFor(name, type);
    if (!path) return {};
    std::ifstream in(*path, std::ios::binary);
    if (!in) return {};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || !isValidUtf8(text)) return {};
    return text;
}

}  // namespace

SettingsViewController::~SettingsViewController() = default;

// ---- Building the screen

void SettingsViewController::loadView() {}

void SettingsViewController::viewDidLoad() {
    ui::ViewController::viewDidLoad();

    contentView_ = ui::View::make(applicationFrame());
    contentView_->setBackgroundColor(ui::Color::black());
    // Without an application delegate the controls start at the defaults.
    const ScreenDelegate* app = screenDelegate();

    // Title bar with the "Back" button.
    auto titleBar = ui::NavigationBar::make({0, 0, 320, 50});
    titleBar->setBarStyle(ui::BarStyle::Slate);
    auto titleItem = ui::NavigationItem::make(kTitle);
    auto back = ui::BarButtonItem::make("Back", ui::BarButtonItemStyle::Plain, this, &SettingsViewController::returnView);
    titleItem->setRightBarButtonItem(back);
    titleBar->pushNavigationItem(titleItem, ui::Animated::No);

    // Scroll area: 15 points taller content than the area, and a finger on a
    // control inside stays with the control.
    myScrollView_ = CustomUIScrollView::make({0, 50, 320, 360});
    myScrollView_->setContentSize({320, 375});
    myScrollView_->setCanCancelContentTouches(false);
    myScrollView_->setDelaysContentTouches(false);
    myScrollView_->setBackgroundColor(kScrollAreaColor);

    auto credits = makeLabel({0, 0, 320, 25}, kCredits, ui::Font::boldSystemFont(12), ui::TextAlignment::Center);
    auto heading = makeLabel({0, 30, 320, 20}, "Selected Base for conversion:", ui::Font::boldSystemFont(18),
                             ui::TextAlignment::Center);

    // Base picker, standing on the base in effect now. It fills the band
    // down to the switch row: about five rows, the selected one in the middle.
    pickerArray_ = kBaseTitles;
    basePickerView_ = ui::PickerView::make({0, 50, 320, 225});
    basePickerView_->setRowFont(ui::Font::boldSystemFont(22));
    basePickerView_->setDelegate(this);
    basePickerView_->setDataSource(this);
    basePickerView_->setShowsSelectionIndicator(true);
    basePickerView_->selectRow(app ? app->getBase() - kFirstBase : 0, 0, ui::Animated::No);

    // Signed switch and its label.
    auto switchLabel =
        makeLabel({10, 275, 200, 25}, "Use Signed Bit:", ui::Font::boldSystemFont(18), ui::TextAlignment::Left);
    signedSwitch_ = ui::Switch::make({210, 275, 90, 25});
    signedSwitch_->setBackgroundColor(ui::Color::clear());
    signedSwitch_->addTarget(this, &SettingsViewController::switchSign, ui::ControlEventValueChanged);
    signedSwitch_->setOn(app && app->getUseSigned(), ui::Animated::No);

    auto notice = makeLabel({10, 325, 300, 40},
                            "Please report any remaining bugs using the 'E-mail me' button. Thank you.",
                            ui::Font::systemFont(13), ui::TextAlignment::Center);
    notice->setNumberOfLines(0);

    // Button bar: Save, then Change Log and E-mail me spread out by one flexible space used twice.
    auto buttonBar = ui::Toolbar::make({0, 410, 320, 50});
    buttonBar->setBarStyle(ui::BarStyle::Default);
    auto save = ui::BarButtonItem::make("   Save   ", ui::BarButtonItemStyle::Done, this,
                                        &SettingsViewController::saveDefaultBase);
    auto flexible = ui::BarButtonItem::makeSystem(ui::BarButtonSystemItem::FlexibleSpace);
    auto changeLog = ui::BarButtonItem::make("Change Log", ui::BarButtonItemStyle::Bordered, this,
                                             &SettingsViewController::viewLog);
    auto email = ui::BarButtonItem::make("E-mail me", ui::BarButtonItemStyle::Bordered, this,
                                         &SettingsViewController::emailMe);
    buttonBar->setItems({save, flexible, changeLog, flexible, email}, ui::Animated::No);

    // Stacking order, first added lowest.
    contentView_->addSubview(titleBar);
    contentView_->addSubview(buttonBar);
    contentView_->addSubview(myScrollView_);
    myScrollView_->addSubview(credits);
    myScrollView_->addSubview(heading);
    myScrollView_->addSubview(basePickerView_);
    myScrollView_->addSubview(signedSwitch_);
    myScrollView_->addSubview(switchLabel);
    myScrollView_->addSubview(notice);

    titleBar_ = titleBar.get();
    buttonBar_ = buttonBar.get();
    backItem_ = back.get();
    saveItem_ = save.get();
    changeLogItem_ = changeLog.get();
    emailItem_ = email.get();
    setView(contentView_);
    setFocus(Focus::Picker);
}

// ---- Keyboard focus

namespace {
constexpr int kFocusCount = static_cast<int>(SettingsViewController::Focus::Email) + 1;
}  // namespace

ui::View* SettingsViewController::viewFor(Focus focus) const {
    auto barButton = [](ui::BarView* bar, ui::BarButtonItem* item) -> ui::View* {
        return bar && item ? bar->buttonForItem(item).get() : nullptr;
    };
    switch (focus) {
        case Focus::Back: return barButton(titleBar_, backItem_);
        case Focus::Picker: return basePickerView_.get();
        case Focus::Signed: return signedSwitch_.get();
        case Focus::Save: return barButton(buttonBar_, saveItem_);
        case Focus::ChangeLog: return barButton(buttonBar_, changeLogItem_);
        case Focus::Email: return barButton(buttonBar_, emailItem_);
    }
    return nullptr;
}

ui::View* SettingsViewController::focusedView() const { return viewFor(focus_); }

void SettingsViewController::setFocus(Focus focus) {
    // Every control is cleared: a bar lays its buttons out afresh at times,
    // and the new one must carry the frame.
    for (int i = 0; i < kFocusCount; ++i)
        if (ui::View* view = viewFor(static_cast<Focus>(i))) view->setShowsFocus(false);
    focus_ = focus;
    if (ui::View* view = viewFor(focus_)) view->setShowsFocus(true);
}

void SettingsViewController::moveFocus(int step) {
    const int next = ((static_cast<int>(focus_) + step) % kFocusCount + kFocusCount) % kFocusCount;
    setFocus(static_cast<Focus>(next));
}

void SettingsViewController::resetFocus() { setFocus(Focus::Picker); }

// ---- Actions

void SettingsViewController::switchSign(ui::Control*) {
    ScreenDelegate* app = screenDelegate();
    if (!signedSwitch_ || !app) return;
    app->setUseSigned(signedSwitch_->isOn());
}

void SettingsViewController::saveDefaultBase(ui::BarButtonItem*) {
    if (!basePickerView_ || !signedSwitch_) return;
    // What this screen shows is stored, not the base in effect.
    const std::string baseText = std::to_string(basePickerView_->selectedRowInComponent(0) + kFirstBase);
    const bool useSigned = signedSwitch_->isOn();
    try {
        // Both in one write: the file holds either the old settings or the new.
        ui::UserDefaults::standard().setValues(
            {{settingKeys::kSelectedBaseKey, std::stoi(baseText)}, {settingKeys::kUseSignedKey, useSigned}});
    } catch (const ui::UserDefaultsError& error) {
        // Another user's file is left alone; the log says why Save failed.
        if (error.refused()) ui::warn("warning: the settings are not saved: %s", error.what());
        showAlert("Setting base...", "Failed!");
        return;
    } catch (...) {
        showAlert("Setting base...", "Failed!");
        return;
    }
    showAlert("Setting base", "Default base set: " + baseText + "\nUse signed: " + (useSigned ? "1" : "0"));
}

void SettingsViewController::returnView(ui::BarButtonItem*) {
    if (ScreenDelegate* app = screenDelegate()) app->flipToCalcFromSetting();
}

void SettingsViewController::viewLog(ui::BarButtonItem*) { showAlert(kAppName, readTextResource("ChangeLog", "txt")); }

void SettingsViewController::emailMe(ui::BarButtonItem*) {
    const std::string address = std::string("mailto:") + kSupportAddress + "?subject=" + kAppName;
    ui::Application::shared().openURL(ui::percentEscaped(address));
}

void SettingsViewController::showAlert(const std::string& title, const std::string& message) {
    ui::AlertView::make(title, message, this, "OK")->show();
}

// ---- The base picker

int SettingsViewController::numberOfComponents(ui::PickerView*) { return 1; }

int SettingsViewController::numberOfRowsInComponent(ui::PickerView*, int) {
    return static_cast<int>(pickerArray_.size());
}

std::string SettingsViewController::titleForRow(ui::PickerView*, int row, int) {
    if (row < 0 || row >= static_cast<int>(pickerArray_.size())) return {};
    return pickerArray_[static_cast<size_t>(row)];
}

void SettingsViewController::didSelectRow(ui::PickerView*, int row, int) {
    // The column is not looked at: the picker has one.
    ScreenDelegate* app = screenDelegate();
    if (!app) return;
    app->setBase(row + kFirstBase);
    app->updateInputBase();
}
