#include "platform/forms/handles.h"

#include <map>

namespace forms {

namespace {

std::map<HWND, Object*>& Handles() {
    static std::map<HWND, Object*> handles;
    return handles;
}

HWND g_nextHandle = 0x10000;
bool g_pressActive = false;
QPointF g_pressGlobal;

}  // namespace

HWND RegisterHandle(Object* object) {
    const HWND hwnd = g_nextHandle++;
    Handles()[hwnd] = object;
    return hwnd;
}

void UnregisterHandle(HWND hwnd) { Handles().erase(hwnd); }

Object* FromHandle(HWND hwnd) {
    auto it = Handles().find(hwnd);
    return it == Handles().end() ? nullptr : it->second;
}

void SetMousePressActive(bool active, QPointF globalPosition) {
    g_pressActive = active;
    if (active) g_pressGlobal = globalPosition;
}

bool MousePressActive() { return g_pressActive; }

QPointF MousePressPosition() { return g_pressGlobal; }

}  // namespace forms
