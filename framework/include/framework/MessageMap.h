#pragma once

#include <windows.h>

class CDialog;
class CWnd;

// A dialog's message map: one static table per class. Each entry binds a message (and, for
// WM_COMMAND and WM_NOTIFY, a control id and a notification code) to a member handler of one of
// a few fixed shapes. The table of a class is searched first, then its base class's.
enum class HandlerShape {
    command,   // void ()                 WM_COMMAND with id and code
    commandId, // void (UINT)             the same, told the control id (one handler, many controls)
    notify,    // void (NMHDR*, LRESULT*) WM_NOTIFY with id and code
    message,   // LRESULT (WPARAM, LPARAM) any other message
    size,      // void (UINT, int, int)   WM_SIZE
    move,      // void (int, int)         WM_MOVE
    showWindow, // void (BOOL, UINT)       WM_SHOWWINDOW
    timer,      // void (UINT_PTR)         WM_TIMER
    sysCommand, // void (UINT, LPARAM)     WM_SYSCOMMAND
    paint,      // void ()                 WM_PAINT
    copyData,   // BOOL (CWnd*, COPYDATASTRUCT*) WM_COPYDATA
};

// One member of the handler's shape is set, as the entry's shape says.
union AnyHandler {
    void (CDialog::*command)();
    void (CDialog::*commandId)(UINT);
    void (CDialog::*notify)(NMHDR*, LRESULT*);
    LRESULT (CDialog::*message)(WPARAM, LPARAM);
    void (CDialog::*size)(UINT, int, int);
    void (CDialog::*move)(int, int);
    void (CDialog::*showWindow)(BOOL, UINT);
    void (CDialog::*timer)(UINT_PTR);
    void (CDialog::*sysCommand)(UINT, LPARAM);
    void (CDialog::*paint)();
    BOOL (CDialog::*copyData)(CWnd*, COPYDATASTRUCT*);
};

struct MessageMapEntry {
    UINT message;
    UINT code;
    UINT id;
    HandlerShape shape;
    AnyHandler handler;
    // The last control id of a range that begins at id; 0 for the one control id.
    UINT lastId = 0;
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    size_t count;
};

// Entry makers: a member of a dialog class becomes a member of CDialog (the handler is called
// back on an object of that very class, so the conversion is exact).
template <class T> MessageMapEntry OnCommand(UINT id, UINT code, void (T::*handler)()) {
    MessageMapEntry entry{WM_COMMAND, code, id, HandlerShape::command, {}};
    entry.handler.command = static_cast<void (CDialog::*)()>(handler);
    return entry;
}
template <class T> MessageMapEntry OnCommand(UINT id, UINT code, void (T::*handler)(UINT)) {
    MessageMapEntry entry{WM_COMMAND, code, id, HandlerShape::commandId, {}};
    entry.handler.commandId = static_cast<void (CDialog::*)(UINT)>(handler);
    return entry;
}
template <class T>
MessageMapEntry OnNotify(UINT id, UINT code, void (T::*handler)(NMHDR*, LRESULT*)) {
    MessageMapEntry entry{WM_NOTIFY, code, id, HandlerShape::notify, {}};
    entry.handler.notify = static_cast<void (CDialog::*)(NMHDR*, LRESULT*)>(handler);
    return entry;
}
// The same for every control id from first to last: controls of one kind whose handler tells
// them apart by id (NMHDR::idFrom, or the id a commandId handler is given).
template <class T>
MessageMapEntry OnCommandRange(UINT first, UINT last, UINT code, void (T::*handler)(UINT)) {
    MessageMapEntry entry = OnCommand(first, code, handler);
    entry.lastId = last;
    return entry;
}
template <class T>
MessageMapEntry OnNotifyRange(UINT first, UINT last, UINT code,
                              void (T::*handler)(NMHDR*, LRESULT*)) {
    MessageMapEntry entry = OnNotify(first, code, handler);
    entry.lastId = last;
    return entry;
}
template <class T> MessageMapEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    MessageMapEntry entry{message, 0, 0, HandlerShape::message, {}};
    entry.handler.message = static_cast<LRESULT (CDialog::*)(WPARAM, LPARAM)>(handler);
    return entry;
}
template <class T> MessageMapEntry OnSizeMessage(void (T::*handler)(UINT, int, int)) {
    MessageMapEntry entry{WM_SIZE, 0, 0, HandlerShape::size, {}};
    entry.handler.size = static_cast<void (CDialog::*)(UINT, int, int)>(handler);
    return entry;
}
template <class T> MessageMapEntry OnMoveMessage(void (T::*handler)(int, int)) {
    MessageMapEntry entry{WM_MOVE, 0, 0, HandlerShape::move, {}};
    entry.handler.move = static_cast<void (CDialog::*)(int, int)>(handler);
    return entry;
}
template <class T> MessageMapEntry OnShowWindowMessage(void (T::*handler)(BOOL, UINT)) {
    MessageMapEntry entry{WM_SHOWWINDOW, 0, 0, HandlerShape::showWindow, {}};
    entry.handler.showWindow = static_cast<void (CDialog::*)(BOOL, UINT)>(handler);
    return entry;
}

template <class T> MessageMapEntry OnTimerMessage(void (T::*handler)(UINT_PTR)) {
    MessageMapEntry entry{WM_TIMER, 0, 0, HandlerShape::timer, {}};
    entry.handler.timer = static_cast<void (CDialog::*)(UINT_PTR)>(handler);
    return entry;
}
template <class T> MessageMapEntry OnSysCommandMessage(void (T::*handler)(UINT, LPARAM)) {
    MessageMapEntry entry{WM_SYSCOMMAND, 0, 0, HandlerShape::sysCommand, {}};
    entry.handler.sysCommand = static_cast<void (CDialog::*)(UINT, LPARAM)>(handler);
    return entry;
}
template <class T> MessageMapEntry OnPaintMessage(void (T::*handler)()) {
    MessageMapEntry entry{WM_PAINT, 0, 0, HandlerShape::paint, {}};
    entry.handler.paint = static_cast<void (CDialog::*)()>(handler);
    return entry;
}
template <class T> MessageMapEntry OnCopyDataMessage(BOOL (T::*handler)(CWnd*, COPYDATASTRUCT*)) {
    MessageMapEntry entry{WM_COPYDATA, 0, 0, HandlerShape::copyData, {}};
    entry.handler.copyData = static_cast<BOOL (CDialog::*)(CWnd*, COPYDATASTRUCT*)>(handler);
    return entry;
}

// Finds the entry for a message in a map chain; nullptr when none handles it.
const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT id, UINT code);
