#include "shell/StateWriter.h"

#include <cmath>

#include "calc/app/NumberTransfer.h"
#include "calc/app/vantorAppDelegate.h"
#include "calc/core/BitGrid.h"
#include "calc/core/SettingsKeys.h"
#include "calc/core/WordDisplay.h"
#include "calc/displays/binaryScrn.h"
#include "calc/core/calcDecimal.h"
#include "calc/core/Operator.h"
#include "calc/displays/displayScrn.h"
#include "calc/keys/operationButton.h"
#include "calc/input/HorizontalPickerView.h"
#include "calc/input/InputView.h"
#include "calc/screens/MainViewController.h"
#include "calc/screens/SettingsViewController.h"
#include "ui/AlertView.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Log.h"
#include "ui/PickerView.h"
#include "ui/Switch.h"
#include "ui/UserDefaults.h"

namespace shell {

namespace {

using json = nlohmann::ordered_json;

bool shows(const ui::View* view, const ui::View* parent) {
    return view && view->superview() == parent && !view->isHidden() && view->alpha() > 0;
}

std::string imageName(const std::shared_ptr<const ui::Image>& image) { return image ? image->name() : std::string(); }

json point(ui::Point p) { return json::array({StateWriter::number(p.x), StateWriter::number(p.y)}); }

json optionalOf(const std::optional<int>& v) { return v ? json(*v) : json(nullptr); }
json optionalOf(const std::optional<bool>& v) { return v ? json(*v) : json(nullptr); }

// What the state line says of each kind of view in the conversion row: the
// name of the picture it shows, "" for any view without one.
class PictureName final : public ui::ConstViewVisitor {
public:
    std::string name;

    void visit(const ui::ImageView& picture) override { name = picture.imageName(); }
    void visit(const ui::View&) override {}
    void visit(const ui::Label&) override {}
    void visit(const ui::Button&) override {}
    void visit(const ui::Switch&) override {}
    void visit(const ui::PickerView&) override {}
    void visit(const ui::ScrollView&) override {}
    void visit(const ui::NavigationBar&) override {}
    void visit(const ui::Toolbar&) override {}
    void visit(const ui::AlertView&) override {}
    void visit(const ui::AlertBox&) override {}
    void visit(const ui::BitGridView&) override {}
};

std::string pictureName(const ui::View& view) {
    PictureName picture;
    view.accept(picture);
    return picture.name;
}

}  // namespace

json StateWriter::number(float value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e9f)
        return json(static_cast<long long>(value));
    return json(static_cast<double>(value));
}

json StateWriter::state() {
    json out = json::object();
    const auto& screen = delegate_.viewController();
    displayScrn* display = screen ? screen->displayLabel().get() : nullptr;
    binaryScrn* conversion = screen ? screen->base2Screen().get() : nullptr;
    InputView* panel = screen ? screen->inputView().get() : nullptr;

    // Which screen the window shows.
    out["screen"] = delegate_.isShowingSettings() ? "settings" : "calculator";
    // The look the window shows (--theme, the environment or the desktop).
    out["theme"] = std::string(app_.look().name);

    // The displays.
    out["display"] = display ? display->text() : "";
    out["caption"] = display && shows(display->decLabelView().get(), display);
    json pictures = json::array();
    if (conversion) {
        for (const auto& child : conversion->subviews()) {
            if (child == conversion->base2LabelView()) continue;
            const ui::Rect f = child->frame();
            pictures.push_back(json::array(
                {pictureName(*child), number(f.x()), number(f.y()), number(f.width()), number(f.height())}));
        }
    }
    out["conversion"] = std::move(pictures);
    out["baseLabel"] = conversion && shows(conversion->base2LabelView().get(), conversion);
    // The base as the conversion display writes it beside the row ("16").
    const ui::Label* baseNumber = conversion ? conversion->baseNumberView().get() : nullptr;
    out["baseShown"] = baseNumber && shows(baseNumber, conversion->superview()) ? baseNumber->text() : "";

    // The shared state.
    out["base"] = delegate_.getBase();
    out["signed"] = delegate_.getUseSigned();
    out["keypad"] = delegate_.getIsInDecMode() ? "decimal" : "base";

    // The input panel.
    json enabled = json::array();
    if (panel) {
        for (const auto& key : panel->baseKeys())
            if (key->isEnabled()) enabled.push_back(key->titleForState(ui::ControlStateNormal).value_or(""));
    }
    out["enabled"] = std::move(enabled);
    out["inputPicker"] = panel && panel->basePicker() ? panel->basePicker()->getValue() : "";
    out["offset"] = panel ? point(panel->contentOffset()) : json::array({0, 0});

    // The keys of the calculator screen.
    out["mr"] = screen && screen->mRButton()
                    ? imageName(screen->mRButton()->backgroundImageForState(ui::ControlStateNormal))
                    : "";
    json enlarged = json::array();
    if (screen && screen->isViewLoaded()) {
        for (const auto& key : screen->operationKeys()) {
            if (!key) continue;
            const ui::AffineTransform& t = key->transform();
            constexpr float scale = operationButton::kEnlargedScale;
            if (std::fabs(t.a - scale) < 1e-4f && std::fabs(t.d - scale) < 1e-4f)
                enlarged.push_back(key->titleForState(ui::ControlStateNormal).value_or(""));
        }
    }
    out["enlarged"] = std::move(enlarged);

    // The register machine.
    if (display) {
        out["registers"] = {{"value", display->getValue().toString()},
                            {"m1", display->getM1().toString()},
                            {"temp", display->getTemp().toString()},
                            {"memory", display->getMemory().toString()}};
        const auto& op = display->getOpFlag();
        out["flags"] = {{"memFlag", display->getFlag()},
                        {"decimalPoint", display->getDecimalPoint()},
                        {"eqFlag", display->getEqFlag()},
                        {"contFlag", display->getContFlag()},
                        {"opFlag", op ? json(std::string(operatorRow(*op).title)) : json(nullptr)}};
    } else {
        out["registers"] = nullptr;
        out["flags"] = nullptr;
    }

    // The settings screen, once built.
    const ui::PickerView* picker = finder_.settingsPicker();
    const ui::Switch* signedSwitch = finder_.settingsSwitch();
    out["settingsPicker"] = picker ? json(picker->selectedRowInComponent(0)) : json(nullptr);
    out["switch"] = signedSwitch ? json(signedSwitch->isOn()) : json(nullptr);

    // What the program showed or handed out.
    if (const ui::AlertView* alert = ui::AlertView::visibleAlert())
        out["alert"] = {{"title", alert->title()}, {"message", alert->message()}};
    else
        out["alert"] = nullptr;
    out["opened"] = app_.openedURLs();
    out["log"] = ui::DiagnosticLog::shared().takeLines();

    // What the persisted settings hold.
    const ui::UserDefaults& stored = app_.userDefaults();
    using settingKeys::kSelectedBaseKey, settingKeys::kUseSignedKey, settingKeys::kWordSizeKey;
    out["stored"] = {{kSelectedBaseKey, optionalOf(stored.optionalIntegerForKey(kSelectedBaseKey))},
                     {kUseSignedKey, optionalOf(stored.optionalBoolForKey(kUseSignedKey))},
                     {kWordSizeKey, optionalOf(stored.optionalIntegerForKey(kWordSizeKey))}};

    // Numbers as text: what Ctrl+Shift+C copies, a refused paste's notice,
    // the side panel's lines ([base, text]) and its results list, newest first.
    const NumberTransfer* transfer = delegate_.numberTransfer();
    out["conversionText"] = transfer ? transfer->conversionText() : "";
    out["notice"] = transfer ? transfer->notice() : "";
    json bases = json::array();
    json tape = json::array();
    if (transfer) {
        for (const auto& line : transfer->panelLines()) bases.push_back(json::array({line.base, line.text}));
        for (const auto& text : transfer->panel().tape()) tape.push_back(text);
    }
    out["bases"] = std::move(bases);
    out["tape"] = std::move(tape);

    // The programmer's word: its size (0 for off), the bits of the number
    // shown as the grid shows them, and the number the word holds.
    const WordMode mode = delegate_.getWordMode();
    const Decimal shown = display ? display->shownRegister().getValue() : Decimal();
    const auto word = bitwise::shownWord(shown, mode);
    out["word"] = mode.size.bits();
    out["bits"] = bitwise::bitString(shown, mode);
    out["wordValue"] = !mode.size.isOff() && word ? word->value.toString() : "";
    return out;
}

std::string StateWriter::line() { return state().dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace shell
