#pragma once
// "Choose guide channel…": the channels of every stored guide, filtered as one types
// (case and accents ignored), with "Automatic" first to leave the choice to matching.

#include "GuideMatcher.h"
#include "GuideTypes.h"
#include "LanguageStrings.h"

#include <QDialog>

#include <map>
#include <optional>
#include <vector>

class QLineEdit;
class QListWidget;

class GuideChannelDlg : public QDialog
{
    Q_OBJECT
public:
    // guideNames: the guides' names by source; current: the viewer's present choice.
    GuideChannelDlg(QWidget* parent, const LanguageStrings& texts, const QString& channelName,
                    std::vector<GuideChannelInfo> channels, const std::map<QString, QString>& guideNames,
                    const std::optional<GuideChoice>& current);

    // After OK: the chosen guide channel; an empty source for "Automatic".
    GuideChoice Choice() const;

protected:
    // Up, Down and the Page keys in the filter field move in the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Filter(const QString& text);

    std::vector<GuideChannelInfo> channels;
    std::vector<QString> folded; // by row after the first
    QLineEdit* filter = nullptr;
    QListWidget* list = nullptr;
};
