#include "shell/accessibility/AccessibleObject.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "shell/accessibility/AtSpiBridge.h"

// ---- The GObject types: a plain object, a button, a spin button.

struct MervikAccessible {
    AtkObject parent;
    shell::access::ObjectData* data;
};
struct MervikAccessibleClass {
    AtkObjectClass parentClass;
};
using MervikButton = MervikAccessible;
using MervikButtonClass = MervikAccessibleClass;
using MervikSpin = MervikAccessible;
using MervikSpinClass = MervikAccessibleClass;
using MervikFrame = MervikAccessible;
using MervikFrameClass = MervikAccessibleClass;

namespace {

void actionInterfaceInit(AtkActionIface* iface);
void valueInterfaceInit(AtkValueIface* iface);

}  // namespace

G_DEFINE_TYPE(MervikAccessible, mervik_accessible, ATK_TYPE_OBJECT)
G_DEFINE_TYPE_WITH_CODE(MervikButton, mervik_button, mervik_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, actionInterfaceInit))
G_DEFINE_TYPE_WITH_CODE(MervikSpin, mervik_spin, mervik_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_VALUE, valueInterfaceInit))
// The window: ATK's window interface has only signals (activate, ...).
G_DEFINE_TYPE_WITH_CODE(MervikFrame, mervik_frame, mervik_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_WINDOW, nullptr))

namespace {

using shell::access::ObjectData;

ObjectData& dataOf(gpointer object) { return *reinterpret_cast<MervikAccessible*>(object)->data; }

gint nChildren(AtkObject* object) { return static_cast<gint>(dataOf(object).children.size()); }

AtkObject* refChild(AtkObject* object, gint index) {
    const auto& children = dataOf(object).children;
    if (index < 0 || index >= static_cast<gint>(children.size())) return nullptr;
    return ATK_OBJECT(g_object_ref(children[static_cast<size_t>(index)]));
}

gint indexInParent(AtkObject* object) {
    AtkObject* parent = object->accessible_parent;
    if (!parent || !G_TYPE_CHECK_INSTANCE_TYPE(parent, mervik_accessible_get_type())) return -1;
    const auto& siblings = dataOf(parent).children;
    const auto it = std::find(siblings.begin(), siblings.end(), object);
    return it == siblings.end() ? -1 : static_cast<gint>(it - siblings.begin());
}

AtkStateSet* refStateSet(AtkObject* object) {
    AtkStateSet* states = ATK_OBJECT_CLASS(mervik_accessible_parent_class)->ref_state_set(object);
    const ObjectData& data = dataOf(object);
    if (!data.bridge) {
        atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
        return states;
    }
    switch (data.kind) {
        case ObjectData::Kind::Application: return states;
        case ObjectData::Kind::Window:
            for (AtkStateType s : {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_SHOWING, ATK_STATE_VISIBLE,
                                   ATK_STATE_ACTIVE})
                atk_state_set_add_state(states, s);
            return states;
        case ObjectData::Kind::Node: break;
    }
    const auto& node = data.node;
    if (node.enabled) {
        atk_state_set_add_state(states, ATK_STATE_ENABLED);
        atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
    }
    if (node.showing) {
        atk_state_set_add_state(states, ATK_STATE_SHOWING);
        atk_state_set_add_state(states, ATK_STATE_VISIBLE);
    }
    if (node.focusable) atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
    if (node.focused) atk_state_set_add_state(states, ATK_STATE_FOCUSED);
    if (node.role == shell::access::Role::ToggleButton || node.role == shell::access::Role::RadioButton) {
        atk_state_set_add_state(states, ATK_STATE_CHECKABLE);
        if (node.checked) atk_state_set_add_state(states, ATK_STATE_CHECKED);
    }
    return states;
}

void finalize(GObject* object) {
    delete reinterpret_cast<MervikAccessible*>(object)->data;
    G_OBJECT_CLASS(mervik_accessible_parent_class)->finalize(object);
}

// ---- Action: one, "click", through the same touches as a click.

gboolean doAction(AtkAction* action, gint index) {
    ObjectData& data = dataOf(action);
    if (index != 0 || !data.bridge) return FALSE;
    return data.bridge->click(ATK_OBJECT(action)) ? TRUE : FALSE;
}
gint nActions(AtkAction*) { return 1; }
const gchar* actionName(AtkAction*, gint index) { return index == 0 ? "click" : nullptr; }
const gchar* actionDescription(AtkAction*, gint index) { return index == 0 ? "Presses the control" : nullptr; }

void actionInterfaceInit(AtkActionIface* iface) {
    iface->do_action = doAction;
    iface->get_n_actions = nActions;
    iface->get_name = actionName;
    iface->get_localized_name = actionName;
    iface->get_description = actionDescription;
}

// ---- Value: the base a picker shows, from its first to its last item.

shell::access::AccessibleNode::Value valueOf(gpointer object) {
    return dataOf(object).node.value.value_or(shell::access::AccessibleNode::Value{});
}

void putDouble(GValue* out, double value) {
    g_value_init(out, G_TYPE_DOUBLE);
    g_value_set_double(out, value);
}
void currentValue(AtkValue* object, GValue* out) { putDouble(out, valueOf(object).current); }
void maximumValue(AtkValue* object, GValue* out) { putDouble(out, valueOf(object).maximum); }
void minimumValue(AtkValue* object, GValue* out) { putDouble(out, valueOf(object).minimum); }
void minimumIncrement(AtkValue*, GValue* out) { putDouble(out, 1); }

bool setTo(AtkValue* object, double value) {
    ObjectData& data = dataOf(object);
    if (!data.bridge || !std::isfinite(value) || std::fabs(value) > 1e6) return false;
    return data.bridge->setValue(ATK_OBJECT(object), static_cast<int>(std::lround(value)));
}

gboolean setCurrentValue(AtkValue* object, const GValue* in) {
    GValue number = G_VALUE_INIT;
    g_value_init(&number, G_TYPE_DOUBLE);
    const bool read = g_value_transform(in, &number);
    const bool done = read && setTo(object, g_value_get_double(&number));
    g_value_unset(&number);
    return done ? TRUE : FALSE;
}

void valueAndText(AtkValue* object, gdouble* value, gchar** text) {
    const int current = valueOf(object).current;
    if (value) *value = current;
    // No text beside the number: the bridge of Debian 12 never frees one.
    if (text) *text = nullptr;
}
AtkRange* range(AtkValue* object) {
    const auto v = valueOf(object);
    return atk_range_new(v.minimum, v.maximum, nullptr);
}
gdouble increment(AtkValue*) { return 1; }
void setValue(AtkValue* object, gdouble value) { setTo(object, value); }

void valueInterfaceInit(AtkValueIface* iface) {
    iface->get_current_value = currentValue;
    iface->get_maximum_value = maximumValue;
    iface->get_minimum_value = minimumValue;
    iface->get_minimum_increment = minimumIncrement;
    iface->set_current_value = setCurrentValue;
    iface->get_value_and_text = valueAndText;
    iface->get_range = range;
    iface->get_increment = increment;
    iface->set_value = setValue;
}

}  // namespace

static void mervik_accessible_class_init(MervikAccessibleClass* klass) {
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_n_children = nChildren;
    atk->ref_child = refChild;
    atk->get_index_in_parent = indexInParent;
    atk->ref_state_set = refStateSet;
    G_OBJECT_CLASS(klass)->finalize = finalize;
}
static void mervik_accessible_init(MervikAccessible* object) { object->data = new ObjectData; }
static void mervik_button_class_init(MervikButtonClass*) {}
static void mervik_button_init(MervikButton*) {}
static void mervik_spin_class_init(MervikSpinClass*) {}
static void mervik_spin_init(MervikSpin*) {}
static void mervik_frame_class_init(MervikFrameClass*) {}
static void mervik_frame_init(MervikFrame*) {}

namespace shell::access {

AtkRole atkRole(Role role) {
    switch (role) {
        case Role::Panel: return ATK_ROLE_PANEL;
        case Role::PushButton: return ATK_ROLE_PUSH_BUTTON;
        case Role::ToggleButton: return ATK_ROLE_TOGGLE_BUTTON;
        case Role::RadioButton: return ATK_ROLE_RADIO_BUTTON;
        case Role::Label: return ATK_ROLE_LABEL;
        case Role::SpinButton: return ATK_ROLE_SPIN_BUTTON;
        case Role::Alert: return ATK_ROLE_ALERT;
    }
    return ATK_ROLE_UNKNOWN;
}

namespace {

GType typeFor(const AccessibleNode& node) {
    if (node.clickable()) return mervik_button_get_type();
    if (node.value) return mervik_spin_get_type();
    return mervik_accessible_get_type();
}

}  // namespace

AtkObject* makeAccessibleObject(AtSpiBridge* bridge, const AccessibleNode& node) {
    auto* object = ATK_OBJECT(g_object_new(typeFor(node), nullptr));
    ObjectData& data = dataOf(object);
    data.bridge = bridge;
    data.node = node;
    atk_object_set_role(object, atkRole(node.role));
    atk_object_set_name(object, node.name.c_str());
    atk_object_set_description(object, node.description.c_str());
    return object;
}

AtkObject* makeFixedObject(AtSpiBridge* bridge, ObjectData::Kind kind, const char* name) {
    const GType type = kind == ObjectData::Kind::Window ? mervik_frame_get_type() : mervik_accessible_get_type();
    auto* object = ATK_OBJECT(g_object_new(type, nullptr));
    ObjectData& data = dataOf(object);
    data.bridge = bridge;
    data.kind = kind;
    atk_object_set_role(object, kind == ObjectData::Kind::Application ? ATK_ROLE_APPLICATION : ATK_ROLE_FRAME);
    atk_object_set_name(object, name);
    return object;
}

ObjectData& objectData(AtkObject* object) { return dataOf(object); }

bool fitsNode(AtkObject* object, const AccessibleNode& node) {
    return G_OBJECT_TYPE(object) == typeFor(node) && dataOf(object).node.role == node.role;
}

}  // namespace shell::access
