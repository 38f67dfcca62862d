#include "MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder()
{
    previous = SetMessageBoxHook([this](QWidget*, const QString& text, const QString& caption, unsigned style) {
        boxes.push_back({text, caption, style});
        return (style & MB_TYPEMASK) == MB_YESNO ? yesNoAnswer : IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHook(previous);
}
