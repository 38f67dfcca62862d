#pragma once
// The preferences, a page for each part they steer. Each value is checked as it is typed,
// and what is wrong with it is said at once under its field; OK takes only values that
// pass.

#include "Dialog.h"
#include "PreferenceValues.h"

#include <functional>
#include <vector>

struct LanguageStrings;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

constexpr int IDC_PREFERENCE_PAGES = 1040;

class CPreferencesDlg : public CDialog
{
    Q_OBJECT
public:
    // timeshiftFreeBytes: free space on the timeshift buffer's disk, which its cap may not pass.
    CPreferencesDlg(QWidget* parent, const LanguageStrings& strings, const PreferenceValues& values,
                    qint64 timeshiftFreeBytes);

    // The values on the pages; after OK, those the viewer set.
    PreferenceValues Values() const;

    QTabWidget* Pages() const { return pages; }
    // Labels from this on are the Recordings group's entries, counted from it.
    static constexpr int kRecordingsLabels = 1000;

    // The field of an entry of the Preferences group's labels, and what is said under it.
    QLineEdit* Field(int label) const;
    QString Note(int label) const;

signals:
    void EmptyCacheRequested();

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    // A line of a page: its label's entry, the field, and the check of what is typed.
    struct Line
    {
        int label;
        QLineEdit* edit;
        QLabel* note;
        std::function<QString(const QString&)> check;
    };

    QWidget* AddPage(int title);
    QLineEdit* AddLine(QWidget* page, int row, int label, const QString& value, std::function<QString(const QString&)> check);
    QLabel* AddLabel(QWidget* page, int row, int label);
    QString LabelText(int label) const;
    void MakePlaybackPage();
    void MakeTimeshiftPage();
    void MakeRecordingPage();
    void MakeGuidePage();
    void MakeNetworkPage();
    void MakeLogosPage();
    void Recheck();
    QString RangeCheck(const QString& text, double low, double high) const;
    QString FolderCheck(const QString& text) const;
    QString CapCheck(const QString& text) const;
    QString AgentCheck(const QString& text) const;
    void BrowseFolder();

    const LanguageStrings& strings;
    PreferenceValues values;
    qint64 timeshiftFreeBytes;
    QTabWidget* pages = nullptr;
    QComboBox* decoding = nullptr;
    QLabel* cacheNote = nullptr;
    QWidget* lastControl = nullptr; // of the last page, before the buttons
    std::vector<Line> lines;
};
