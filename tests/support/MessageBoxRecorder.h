#pragma once
// Records every message box instead of showing it, so headless tests never block and can
// check exactly which boxes the program would have shown.

#include "MessageBox.h"

#include <QString>

#include <vector>

struct RecordedMessageBox
{
    QString text;
    QString caption;
    unsigned style = 0;
};

class MessageBoxRecorder
{
public:
    MessageBoxRecorder();   // installs itself as the hook
    ~MessageBoxRecorder();  // puts the previous hook back

    const std::vector<RecordedMessageBox>& Boxes() const { return boxes; }
    void Clear() { boxes.clear(); }
    // What a yes-or-no box is answered with; IDYES unless told.
    void AnswerYesNo(int answer) { yesNoAnswer = answer; }

private:
    std::vector<RecordedMessageBox> boxes;
    int yesNoAnswer = IDYES;
    MessageBoxHook previous;
};
