#include "MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder()
{
    previous = SetMessageBoxHook([this](QWidget*, const QString& text, const QString& caption, unsigned style) {
        boxes.push_back({text, caption, style});
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHook(previous);
}
