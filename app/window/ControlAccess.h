#pragma once
// Reading and writing the properties of a window's controls by (window, control id, property
// number, element index), from any thread. Each access is carried out on the window thread
// (RunOnWindowThread): on that thread directly, from a worker while the worker waits.
//
// Properties (numbers in ControlIds.h); kWholeProperty (-1) is the only element index:
//   kPropDisabled (int)       any control: 1 = disabled, 0 = enabled. Writing any non-zero value
//                             disables; keyboard focus on a control being disabled moves on to
//                             the next control in the tab order, so the keyboard is never stranded.
//   kPropText (Text)          any control: its whole text.
//   kPropSelected (int)       radio buttons and check boxes: 1 = selected, 0 = not. Selecting a
//                             radio button unselects the others of its group, so exactly one of
//                             a group stays selected.
//   kPropSelectionStart (int) edit boxes: where the selection starts. Writing -1 puts the caret
//                             after the last character and scrolls it into view; any other value
//                             at or beyond the end does the same; a smaller one puts the caret there.

#include <windows.h>

#include <optional>
#include <variant>

#include "app/window/portable/ControlIds.h"
#include "common/portable/Text.h"

// A property's value: Text for kPropText, int for the others.
using ControlValue = std::variant<int, Text>;

// The property's value, or nullopt when the window or the control does not exist, the property
// does not apply to that kind of control, or `index` is not kWholeProperty. Any thread.
std::optional<ControlValue> ReadControlProperty(HWND window, int controlId, int property, int index);

// Sets the property. False, with nothing changed, for the failures of ReadControlProperty and
// when `value` is not of the property's type. Any thread.
bool WriteControlProperty(HWND window, int controlId, int property, int index, const ControlValue& value);

// Typed forms for the whole property. A failed read gives -1 (ReadControlInt) or empty text
// (ReadControlText); use ReadControlProperty where a failure must be told apart. Any thread.
int ReadControlInt(HWND window, int controlId, int property);
Text ReadControlText(HWND window, int controlId);
bool WriteControlInt(HWND window, int controlId, int property, int value);
bool WriteControlText(HWND window, int controlId, const Text& text);
