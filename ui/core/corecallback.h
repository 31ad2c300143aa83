// corecallback.h: the two callback attributes of a panel or control record
// (ATTR_CALLBACK_DATA, ATTR_CALLBACK_FUNCTION_POINTER), read and written
// the same way by every driver, whatever type the value comes as.
//
// Exports: uicore::kNoCallbackAttribute, SetCallbackAttribute,
// GetCallbackAttribute. Data model: a driver hands in references to its
// record's function pointer (Fn: CtrlCallbackPtr or PanelCallbackPtr) and
// data pointer; nothing is kept here.
//
// Each returns 0 when done; UIE_BAD_VALUE when the value's type does not
// fit the attribute (a function as the data, text as the function, a
// non-zero number as the function); UIE_BAD_POINTER for a null place to
// read into; kNoCallbackAttribute when the attribute is neither of the two,
// so the driver goes on with its own attributes.
#ifndef VLIC_UI_CORE_CORECALLBACK_H
#define VLIC_UI_CORE_CORECALLBACK_H

#include <cstdint>

#include "ui/userint.h"

namespace uicore {

constexpr int kNoCallbackAttribute = 1;

// A number: the data as that number, or 0 (only) to remove the function.
template <class Fn>
int SetCallbackAttribute(Fn &fn, void *&data, int attribute, int value) {
    if (attribute == ATTR_CALLBACK_DATA) {
        data = reinterpret_cast<void *>(static_cast<std::intptr_t>(value));
        return 0;
    }
    if (attribute != ATTR_CALLBACK_FUNCTION_POINTER) return kNoCallbackAttribute;
    if (value != 0) return UIE_BAD_VALUE;
    fn = nullptr;
    return 0;
}

// Text: only the data may point at it.
template <class Fn>
int SetCallbackAttribute(Fn &, void *&data, int attribute, const char *value) {
    if (attribute == ATTR_CALLBACK_DATA) {
        data = const_cast<char *>(value);
        return 0;
    }
    return attribute == ATTR_CALLBACK_FUNCTION_POINTER ? UIE_BAD_VALUE : kNoCallbackAttribute;
}

// An untyped pointer: the data, or the function it points at.
template <class Fn>
int SetCallbackAttribute(Fn &fn, void *&data, int attribute, void *value) {
    if (attribute == ATTR_CALLBACK_DATA) data = value;
    else if (attribute == ATTR_CALLBACK_FUNCTION_POINTER) fn = reinterpret_cast<Fn>(value);
    else return kNoCallbackAttribute;
    return 0;
}

// A function: only the function.
template <class Fn>
int SetCallbackAttributeFn(Fn &fn, int attribute, Fn value) {
    if (attribute == ATTR_CALLBACK_FUNCTION_POINTER) {
        fn = value;
        return 0;
    }
    return attribute == ATTR_CALLBACK_DATA ? UIE_BAD_VALUE : kNoCallbackAttribute;
}

// Into an untyped pointer: the data, or the function.
template <class Fn>
int GetCallbackAttribute(Fn fn, void *data, int attribute, void **value) {
    if (attribute != ATTR_CALLBACK_DATA && attribute != ATTR_CALLBACK_FUNCTION_POINTER) return kNoCallbackAttribute;
    if (!value) return UIE_BAD_POINTER;
    *value = attribute == ATTR_CALLBACK_DATA ? data : reinterpret_cast<void *>(fn);
    return 0;
}

// Into a function pointer: only the function.
template <class Fn>
int GetCallbackAttributeFn(Fn fn, int attribute, Fn *value) {
    if (attribute == ATTR_CALLBACK_DATA) return UIE_BAD_VALUE;
    if (attribute != ATTR_CALLBACK_FUNCTION_POINTER) return kNoCallbackAttribute;
    if (!value) return UIE_BAD_POINTER;
    *value = fn;
    return 0;
}

}  // namespace uicore

#endif
