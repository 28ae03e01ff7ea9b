// The drawing-object kinds that can be recreated from a dictionary form, by their "class" name.
//
// Only the kinds in this registry are ever made from a file, the clipboard or an object set;
// any other name (another class of the program, a typo, a hostile file) makes nothing.
// The kinds are listed in object_registry.cpp (the library is static, so registration by
// static objects in each kind's file could be dropped by the linker); tests and plug-ins
// may add kinds with registerObjectClass.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class VekObject;

// Makes a new object of a kind with its defaults.
using ObjectFactory = std::function<std::shared_ptr<VekObject>()>;

// Adds a kind; a second registration of a name replaces the first.
void registerObjectClass(const QString &name, ObjectFactory factory);
bool isRegisteredObjectClass(const QString &name);
// A new object of the named kind, or null when no kind of that name is registered.
std::shared_ptr<VekObject> createObjectOfClass(const QString &name);
