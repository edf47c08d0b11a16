#pragma once
// The ATK objects the accessible tree is published as: GObject types of our
// own, whose children, states, action and value come from the node each one
// holds (ObjectData). Push and toggle buttons get ATK's action interface,
// spin buttons its value interface; everything else only the plain object.
// What an action or a new value does is the bridge's (AtSpiBridge).

#include <atk/atk.h>

#include <vector>

#include "shell/accessibility/AccessibleNode.h"

namespace shell::access {

class AtSpiBridge;

struct ObjectData {
    AtSpiBridge* bridge = nullptr;  // null for an object the tree let go of
    AccessibleNode node;            // as of the last update
    std::vector<AtkObject*> children;  // owned by the bridge
    // The application and the window are no views: fixed roles and states.
    enum class Kind { Node, Application, Window } kind = Kind::Node;
};

// A new object for NODE (a reference the caller owns), with the ATK role of
// its node's role; role, name and description are set, the parent is not.
AtkObject* makeAccessibleObject(AtSpiBridge* bridge, const AccessibleNode& node);
// A new object for the application or its window, named NAME.
AtkObject* makeFixedObject(AtSpiBridge* bridge, ObjectData::Kind kind, const char* name);
ObjectData& objectData(AtkObject* object);
// The ATK role for ROLE.
AtkRole atkRole(Role role);
// Whether OBJECT, made for another node, can stand for NODE (same interfaces).
bool fitsNode(AtkObject* object, const AccessibleNode& node);

}  // namespace shell::access
