#include "shell/accessibility/AtSpiBridge.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

#include <atk-bridge.h>
#include <atspi/atspi.h>
#include <dbus/dbus.h>

#include "shell/accessibility/AccessibleObject.h"
#include "shell/accessibility/MainContextPump.h"
#include "ui/Log.h"
#include "ui/View.h"

namespace shell::access {

namespace {

// How long the registry may take to answer before the window is told anyway.
constexpr int kRegistryTimeoutMs = 2000;

// ATK asks the toolkit for the root of its tree through AtkUtil; there is
// one tree in the process.
AtkObject* root = nullptr;

AtkObject* rootObject() { return root; }
const gchar* toolkitName() { return "Mervik"; }
const gchar* toolkitVersion() { return "1"; }

void installToolkit() {
    auto* util = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
    util->get_root = rootObject;
    util->get_toolkit_name = toolkitName;
    util->get_toolkit_version = toolkitVersion;
}

void notifyPair(AtkObject* object, AtkStateType first, AtkStateType second, bool value) {
    atk_object_notify_state_change(object, first, value);
    atk_object_notify_state_change(object, second, value);
}

}  // namespace

AtSpiBridge::AtSpiBridge(vantorAppDelegate& delegate) : mirror_(delegate) {}

AtSpiBridge::~AtSpiBridge() { stop(); }

bool AtSpiBridge::wanted(const std::function<const char*(const char*)>& getenv) {
    auto isSet = [&](const char* name) {
        const char* value = getenv(name);
        return value && *value;
    };
    if (const char* off = getenv("NO_AT_BRIDGE"); off && std::string_view(off) == "1") return false;
    if (isSet("AT_SPI_BUS_ADDRESS") || isSet("DBUS_SESSION_BUS_ADDRESS")) return true;
    if (!isSet("XDG_RUNTIME_DIR")) return false;
    struct stat bus {};
    return ::stat((std::string(getenv("XDG_RUNTIME_DIR")) + "/bus").c_str(), &bus) == 0 && S_ISSOCK(bus.st_mode);
}

// ---- The window's loop

void AtSpiBridge::windowPresented(std::function<void()> wake) {
    if (running_ || !wanted(std::getenv)) return;
    installToolkit();
    application_ = makeFixedObject(this, ObjectData::Kind::Application, "Mervik");
    frame_ = makeFixedObject(this, ObjectData::Kind::Window, "Mervik");
    atk_object_set_parent(frame_, application_);
    objectData(application_).children = {frame_};
    root = application_;
    update();
    pump_ = std::make_unique<MainContextPump>(std::move(wake));
    running_ = true;
    if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
        ui::log("accessibility: no accessibility bus answered; screen readers will not see the calculator");
        running_ = false;
        stop();
        return;
    }
    // The window has just been shown and taken the keyboard: a reader follows
    // the active window and the focus in it. The bridge drops events until
    // it knows which ones readers listen to: it registers the application
    // with the registry and, on the answer, asks for the listeners. Two
    // questions of our own on the same connection, the second asked on the
    // first one's answer, are answered after both of the bridge's (the
    // registry answers in turn); then the window is told.
    announceIdle_ = g_idle_add_full(
        G_PRIORITY_LOW,
        [](gpointer self) -> gboolean {
            auto* bridge = static_cast<AtSpiBridge*>(self);
            bridge->announceIdle_ = 0;
            bridge->askRegistry(2);
            return G_SOURCE_REMOVE;
        },
        this, nullptr);
}

void AtSpiBridge::askRegistry(int questionsLeft) {
    DBusConnection* bus = atspi_get_a11y_bus();
    DBusMessage* call = dbus_message_new_method_call("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                                                     "org.a11y.atspi.Registry", "GetRegisteredEvents");
    questionsLeft_ = questionsLeft - 1;
    if (bus && call && dbus_connection_send_with_reply(bus, call, &registryAnswer_, kRegistryTimeoutMs) &&
        registryAnswer_) {
        dbus_pending_call_set_notify(
            registryAnswer_,
            [](DBusPendingCall* answer, void* self) {
                auto* bridge = static_cast<AtSpiBridge*>(self);
                bridge->registryAnswer_ = nullptr;
                dbus_pending_call_unref(answer);
                if (bridge->questionsLeft_ > 0)
                    bridge->askRegistry(bridge->questionsLeft_);
                else
                    bridge->announceWindow();
            },
            this, nullptr);
    } else {
        announceWindow();
    }
    if (call) dbus_message_unref(call);
}

void AtSpiBridge::announceWindow() {
    if (!running_ || !frame_) return;
    g_signal_emit_by_name(frame_, "activate");
    if (focused_) {
        atk_object_notify_state_change(focused_, ATK_STATE_FOCUSED, TRUE);
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        atk_focus_tracker_notify(focused_);
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
}

void AtSpiBridge::afterPass() {
    if (!running_) return;
    for (AtkObject* object : released_) g_object_unref(object);
    released_.clear();
    if (ui::View::displayGeneration() != updatedGeneration_) update();
    pump_->pump();
}

void AtSpiBridge::windowClosing() { stop(); }

void AtSpiBridge::stop() {
    if (announceIdle_) g_source_remove(announceIdle_);
    announceIdle_ = 0;
    if (registryAnswer_) {
        dbus_pending_call_cancel(registryAnswer_);
        dbus_pending_call_unref(registryAnswer_);
        registryAnswer_ = nullptr;
    }
    if (running_) atk_bridge_adaptor_cleanup();
    running_ = false;
    pump_.reset();
    for (AtkObject* object : objects_) {
        objectData(object).bridge = nullptr;
        g_object_unref(object);
    }
    objects_.clear();
    for (AtkObject* object : released_) g_object_unref(object);
    released_.clear();
    focused_ = nullptr;
    if (root == application_) root = nullptr;
    for (AtkObject** fixed : {&frame_, &application_}) {
        if (!*fixed) continue;
        objectData(*fixed).bridge = nullptr;
        objectData(*fixed).children.clear();
        g_object_unref(*fixed);
        *fixed = nullptr;
    }
}

// ---- Actions from the bus

bool AtSpiBridge::click(AtkObject* object) {
    const bool done = mirror_.click(objectData(object).node);
    if (done) update();
    return done;
}

bool AtSpiBridge::setValue(AtkObject* object, int value) {
    const bool done = mirror_.setValue(objectData(object).node, value);
    if (done) update();
    return done;
}

// ---- Keeping the published tree up to date

void AtSpiBridge::update() {
    if (!frame_) return;
    updatedGeneration_ = ui::View::displayGeneration();
    const std::vector<AccessibleNode> nodes = mirror_.snapshot();

    // The same view (and part of it) keeps its object, as long as the object still fits.
    std::map<std::pair<const ui::View*, int>, AtkObject*> previous;
    for (AtkObject* object : objects_) {
        const AccessibleNode& node = objectData(object).node;
        if (auto view = node.view.lock()) previous.emplace(std::pair(view.get(), node.part), object);
    }
    std::vector<AtkObject*> next(nodes.size(), nullptr);
    for (size_t i = 0; i < nodes.size(); ++i) {
        auto view = nodes[i].view.lock();
        auto it = previous.find(std::pair(static_cast<const ui::View*>(view.get()), nodes[i].part));
        if (it != previous.end() && fitsNode(it->second, nodes[i])) {
            next[i] = it->second;
            previous.erase(it);
            applyNode(next[i], nodes[i]);
        } else {
            next[i] = makeAccessibleObject(this, nodes[i]);
            objectData(next[i]).node.focused = false;
        }
    }

    // Children, parents first.
    std::unordered_map<AtkObject*, std::vector<AtkObject*>> children{{frame_, {}}};
    for (size_t i = 0; i < nodes.size(); ++i) {
        AtkObject* parent = nodes[i].parent < 0 ? frame_ : next[static_cast<size_t>(nodes[i].parent)];
        if (next[i]->accessible_parent != parent) atk_object_set_parent(next[i], parent);
        children[parent].push_back(next[i]);
        children.try_emplace(next[i]);
    }
    setChildren(frame_, std::move(children[frame_]));
    for (AtkObject* object : next) setChildren(object, std::move(children[object]));

    // The objects whose views went: gone for good.
    for (AtkObject* object : objects_) {
        if (std::find(next.begin(), next.end(), object) != next.end()) continue;
        ObjectData& data = objectData(object);
        data.bridge = nullptr;
        data.children.clear();
        if (focused_ == object) focused_ = nullptr;
        atk_object_notify_state_change(object, ATK_STATE_DEFUNCT, TRUE);
        released_.push_back(object);
    }
    objects_ = std::move(next);

    // The focus moves when the screen or an alert changed.
    AtkObject* focus = nullptr;
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].focused) focus = objects_[i];
    if (focus != focused_) {
        if (focused_) {
            objectData(focused_).node.focused = false;
            atk_object_notify_state_change(focused_, ATK_STATE_FOCUSED, FALSE);
        }
        focused_ = focus;
        if (focus) {
            objectData(focus).node.focused = true;
            atk_object_notify_state_change(focus, ATK_STATE_FOCUSED, TRUE);
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            atk_focus_tracker_notify(focus);
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
    }
}

void AtSpiBridge::applyNode(AtkObject* object, const AccessibleNode& node) {
    ObjectData& data = objectData(object);
    const AccessibleNode old = data.node;
    data.node = node;
    data.node.focused = old.focused;  // the focus is moved on its own
    if (node.name != old.name) atk_object_set_name(object, node.name.c_str());
    if (node.description != old.description) atk_object_set_description(object, node.description.c_str());
    if (node.enabled != old.enabled) notifyPair(object, ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, node.enabled);
    if (node.showing != old.showing) notifyPair(object, ATK_STATE_SHOWING, ATK_STATE_VISIBLE, node.showing);
    if (node.checked != old.checked) atk_object_notify_state_change(object, ATK_STATE_CHECKED, node.checked);
    if (node.value != old.value) g_object_notify(G_OBJECT(object), "accessible-value");
}

void AtSpiBridge::setChildren(AtkObject* parent, std::vector<AtkObject*> children) {
    ObjectData& data = objectData(parent);
    if (data.children == children) return;
    const std::vector<AtkObject*> old = std::move(data.children);
    data.children = std::move(children);
    for (size_t i = 0; i < old.size(); ++i)
        if (std::find(data.children.begin(), data.children.end(), old[i]) == data.children.end())
            g_signal_emit_by_name(parent, "children-changed::remove", static_cast<guint>(i), old[i]);
    for (size_t i = 0; i < data.children.size(); ++i)
        if (std::find(old.begin(), old.end(), data.children[i]) == old.end())
            g_signal_emit_by_name(parent, "children-changed::add", static_cast<guint>(i), data.children[i]);
}

}  // namespace shell::access
