// The channel window's programmes to come: the reminders and recordings asked for from the
// search's results and from the description box.

#include "ChannelWindow.h"

#include "NextReminder.h"
#include "SearchController.h"
#include "SearchPanel.h"

void ChannelWindow::SetReminded(std::function<bool(const ChannelKey&, qint64)> reminded)
{
    search->SetReminded(reminded);
    nextReminder->SetReminded(std::move(reminded));
}

void ChannelWindow::SetRecording(GuideRecordingOf recording)
{
    search->SetRecording(recording);
    nextReminder->SetRecording(std::move(recording));
}

void ChannelWindow::RecordingsChanged()
{
    search->Panel()->RepaintResults();
}
