#include "CPreferencesDlg.h"

#include "GuideOrderTexts.h"
#include "LanguageStrings.h"
#include "PreferencesTexts.h"
#include "PrivacyTexts.h"
#include "RecordingsTexts.h"
#include "StreamRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryFile>

#include <cmath>
#include <tuple>

namespace {
const DialogControl kTemplate[] = {
    {IDOK, ControlKind::DefaultButton, {238, 180, 50, 16}, "OK"},
    {IDCANCEL, ControlKind::Button, {294, 180, 50, 16}, "Cancel"},
};

// Dialog units: the pages' frame, and the label, field and note of a line.
const QRect kPagesDu{6, 6, 338, 168}; // six tabs side by side in every pack; five lines a page
constexpr int kLineTopDu = 8;
constexpr int kLineHeightDu = 30;
constexpr int kLabelLeftDu = 6;
constexpr int kLabelWidthDu = 326;
constexpr int kFieldTopDu = 10;
constexpr int kFieldWidthDu = 60;
constexpr int kWideFieldWidthDu = 260;
constexpr int kTextHeightDu = 10;
constexpr int kFieldHeightDu = 12;
constexpr int kNoteTopDu = 22;
constexpr int kButtonLeftDu = 272;
constexpr int kButtonWidthDu = 50;
constexpr int kButtonHeightDu = 14;
constexpr double kMsPerSecond = 1000.0;
constexpr double kMiBPerGiB = 1024.0;
constexpr double kMinutesPerHour = 60.0;
constexpr qint64 kBytesPerGiB = qint64(1024) * 1024 * 1024;
const QColor kNoteColour(192, 0, 0);
const QRegularExpression kLanguageSeparators(QStringLiteral("[,;\\s]+"));

// Made once the dialog is on screen, so shown by hand.
template <class Control>
Control* Shown(Control* control)
{
    control->show();
    return control;
}

// A bound as the viewer's language writes it: whole, or to three figures.
QString BoundText(double bound)
{
    if (bound == std::floor(bound))
        return QLocale().toString(static_cast<qlonglong>(bound));
    return QLocale().toString(bound, 'g', 3);
}

// A number as the viewer's language writes it, or as C does.
bool ReadNumber(const QString& text, double& number)
{
    bool ok = false;
    number = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        number = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(number);
}

double NumberOf(const QString& text)
{
    double number = 0;
    ReadNumber(text, number);
    return number;
}

// The language codes of a list typed with commas or spaces between them.
QStringList LanguageCodes(const QString& text)
{
    return text.toLower().split(kLanguageSeparators, Qt::SkipEmptyParts);
}

// The nearest folder of path that exists: where a folder to be made would go.
QFileInfo NearestExisting(const QString& path)
{
    QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    while (!info.exists() && !info.isRoot() && info.absolutePath() != info.absoluteFilePath())
        info = QFileInfo(info.absolutePath());
    return info;
}
} // namespace

CPreferencesDlg::CPreferencesDlg(QWidget* parent, const LanguageStrings& strings, const PreferenceValues& values,
                                 qint64 timeshiftFreeBytes)
    : CDialog(parent, {350, 202}, kTemplate), strings(strings), values(values), timeshiftFreeBytes(timeshiftFreeBytes)
{
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("preferencePages"));
    pages->setGeometry(Units().ToPixels(kPagesDu));
    setTabOrder(pages, GetDlgItem(IDOK));
}

void CPreferencesDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(Preferences, PrefTitle));
    SetDlgItemText(IDOK, strings.Text(Preferences, PrefOK));
    SetDlgItemText(IDCANCEL, strings.Text(Preferences, PrefCancel));
    MakePlaybackPage();
    MakeTimeshiftPage();
    MakeRecordingPage();
    MakeGuidePage();
    MakeNetworkPage();
    MakeLogosPage();
    Recheck();
    // The keyboard goes through the pages' fields, then the buttons.
    setTabOrder(lastControl, GetDlgItem(IDOK));
    setTabOrder(GetDlgItem(IDOK), GetDlgItem(IDCANCEL));
    decoding->setFocus();
}

QWidget* CPreferencesDlg::AddPage(int title)
{
    auto* page = new QWidget(pages);
    pages->addTab(page, strings.Text(Preferences, title));
    return page;
}

QLabel* CPreferencesDlg::AddLabel(QWidget* page, int row, int label, LanguageGroup group)
{
    auto* text = Shown(new QLabel(strings.Text(group, label), page));
    text->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, kLineTopDu + row * kLineHeightDu, kLabelWidthDu, kTextHeightDu)));
    return text;
}

QLineEdit* CPreferencesDlg::AddLine(QWidget* page, int row, int label, const QString& value,
                                    std::function<QString(const QString&)> check, LanguageGroup group)
{
    QLabel* text = AddLabel(page, row, label, group);
    auto* edit = Shown(new QLineEdit(value, page));
    const int top = kLineTopDu + row * kLineHeightDu;
    edit->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, top + kFieldTopDu, kFieldWidthDu, kFieldHeightDu)));
    text->setBuddy(edit);
    edit->setAccessibleName(text->text());
    auto* note = Shown(new QLabel(page));
    note->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, top + kNoteTopDu, kLabelWidthDu, kTextHeightDu)));
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, kNoteColour);
    note->setPalette(palette);
    connect(edit, &QLineEdit::textChanged, this, &CPreferencesDlg::Recheck);
    lines.push_back({group, label, edit, note, std::move(check)});
    return edit;
}

QCheckBox* CPreferencesDlg::AddCheck(QWidget* page, int row, int label, bool checked)
{
    auto* box = Shown(new QCheckBox(strings.Text(Privacy, label), page));
    box->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, kLineTopDu + row * kLineHeightDu, kLabelWidthDu, kFieldHeightDu)));
    box->setChecked(checked);
    return box;
}

void CPreferencesDlg::MakePlaybackPage()
{
    QWidget* page = AddPage(PrefPagePlayback);
    QLabel* label = AddLabel(page, 0, PrefHardwareDecoding);
    decoding = Shown(new QComboBox(page));
    decoding->addItems({strings.Text(Preferences, PrefDecodingOff), strings.Text(Preferences, PrefDecodingAuto)});
    decoding->setCurrentIndex(values.hardwareDecoding ? 1 : 0);
    decoding->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, kLineTopDu + kFieldTopDu, kFieldWidthDu * 2, kFieldHeightDu)));
    label->setBuddy(decoding);
    decoding->setAccessibleName(label->text());
    AddLine(page, 1, PrefNumberDelay, QLocale().toString(values.numberDelayMs / kMsPerSecond),
            [this](const QString& text) {
                return RangeCheck(text, PreferenceValues::kMinNumberDelayMs / kMsPerSecond,
                                  PreferenceValues::kMaxNumberDelayMs / kMsPerSecond);
            });
    const auto languages = [this](const QString& text) { return LanguagesCheck(text); };
    for (const auto& [row, label, codes] : {std::tuple{2, PrefAudioLanguages, values.audioLanguages},
                                            std::tuple{3, PrefSubtitleLanguages, values.subtitleLanguages}}) {
        QLineEdit* field = AddLine(page, row, label, codes.join(QStringLiteral(", ")), languages, Privacy);
        QRect wide = field->geometry();
        wide.setWidth(Units().X(kWideFieldWidthDu));
        field->setGeometry(wide);
    }
    startLast = AddCheck(page, 4, PrefStartLast, values.startWithLastChannel);
}

void CPreferencesDlg::MakeTimeshiftPage()
{
    QWidget* page = AddPage(PrefPageTimeshift);
    timeshiftOn = AddCheck(page, 0, PrefTimeshiftOn, values.timeshiftOn);
    AddLine(page, 1, PrefTimeshiftMinutes, QString::number(values.timeshiftMinutes), [this](const QString& text) {
        return RangeCheck(text, PreferenceValues::kMinTimeshiftMinutes, PreferenceValues::kMaxTimeshiftMinutes);
    });
    AddLine(page, 2, PrefTimeshiftCap, QLocale().toString(values.timeshiftDiskCapMiB / kMiBPerGiB),
            [this](const QString& text) { return CapCheck(text); });
}

void CPreferencesDlg::MakeRecordingPage()
{
    QWidget* page = AddPage(PrefPageRecording);
    QLineEdit* folder = AddLine(page, 0, PrefRecordingFolder, values.recordingFolder,
                                [this](const QString& text) { return FolderCheck(text); });
    QRect wide = folder->geometry();
    wide.setWidth(Units().X(kWideFieldWidthDu));
    folder->setGeometry(wide);
    auto* browse = Shown(new QPushButton(strings.Text(Preferences, PrefBrowse), page));
    browse->setGeometry(Units().ToPixels(QRect(kButtonLeftDu, kLineTopDu + kFieldTopDu - 1, kButtonWidthDu, kButtonHeightDu)));
    connect(browse, &QPushButton::clicked, this, &CPreferencesDlg::BrowseFolder);
    const auto padding = [this](const QString& text) { return RangeCheck(text, 0, PreferenceValues::kMaxPaddingMinutes); };
    AddLine(page, 1, RecBeforeMinutes, QString::number(values.recordBeforeMinutes), padding, Recordings);
    AddLine(page, 2, RecAfterMinutes, QString::number(values.recordAfterMinutes), padding, Recordings);
    AddLine(
        page, 3, RecAtOnce, QString::number(values.recordingsAtOnce),
        [this](const QString& text) { return RangeCheck(text, 1, PreferenceValues::kMaxRecordingsAtOnce); }, Recordings);
}

void CPreferencesDlg::MakeGuidePage()
{
    QWidget* page = AddPage(PrefPageGuide);
    AddLine(page, 0, PrefGuideRefresh, QString::number(values.guideRefreshHours), [this](const QString& text) {
        return RangeCheck(text, PreferenceValues::kMinGuideRefreshHours, PreferenceValues::kMaxGuideRefreshHours);
    });
    constexpr double kMaxCorrectionHours = PreferenceValues::kMaxGuideCorrectionMinutes / kMinutesPerHour;
    AddLine(page, 1, PrefTimeCorrection, QLocale().toString(values.guideCorrectionMinutes / kMinutesPerHour),
            [this](const QString& text) { return RangeCheck(text, -kMaxCorrectionHours, kMaxCorrectionHours); }, Privacy);
    AddLine(page, 2, PrefGuideDaysBack, QString::number(values.guideDaysBack),
            [this](const QString& text) { return RangeCheck(text, 0, PreferenceValues::kMaxGuideDaysBack); }, Privacy);
    AddLine(
        page, 3, GuideOrderReminderLead, QString::number(values.reminderLeadMinutes),
        [this](const QString& text) {
            return RangeCheck(text, PreferenceValues::kMinReminderLeadMinutes, PreferenceValues::kMaxReminderLeadMinutes);
        },
        GuideOrder);
}

void CPreferencesDlg::MakeNetworkPage()
{
    QWidget* page = AddPage(PrefPageNetwork);
    QLineEdit* agent = AddLine(page, 0, PrefUserAgent, values.userAgent, [this](const QString& text) { return AgentCheck(text); });
    QRect wide = agent->geometry();
    wide.setWidth(Units().X(kLabelWidthDu));
    agent->setGeometry(wide);
    agent->setMaxLength(PreferenceValues::kMaxUserAgentLength);
    AddLine(page, 1, PrefTimeout, QString::number(values.downloadTimeoutSeconds), [this](const QString& text) {
        return RangeCheck(text, PreferenceValues::kMinDownloadTimeoutSeconds, PreferenceValues::kMaxDownloadTimeoutSeconds);
    });
}

void CPreferencesDlg::MakeLogosPage()
{
    QWidget* page = AddPage(PrefPageLogos);
    AddLine(page, 0, PrefLogoCache, QString::number(values.logoCacheMB), [this](const QString& text) {
        return RangeCheck(text, PreferenceValues::kMinLogoCacheMB, PreferenceValues::kMaxLogoCacheMB);
    });
    auto* empty = Shown(new QPushButton(strings.Text(Preferences, PrefEmptyCache), page));
    const int top = kLineTopDu + kLineHeightDu;
    empty->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, top, kButtonWidthDu * 2, kButtonHeightDu)));
    cacheNote = Shown(new QLabel(page));
    cacheNote->setGeometry(Units().ToPixels(QRect(kLabelLeftDu, top + kNoteTopDu - kFieldTopDu + kButtonHeightDu / 2,
                                                  kLabelWidthDu, kTextHeightDu)));
    lastControl = empty;
    connect(empty, &QPushButton::clicked, this, [this] {
        emit EmptyCacheRequested();
        cacheNote->setText(strings.Text(Preferences, PrefCacheEmptied));
    });
}

QString CPreferencesDlg::RangeCheck(const QString& text, double low, double high) const
{
    double number = 0;
    if (ReadNumber(text, number) && number >= low && number <= high)
        return {};
    return strings.Text(Preferences, PrefOutOfRange).arg(BoundText(low), BoundText(high));
}

QString CPreferencesDlg::CapCheck(const QString& text) const
{
    const QString range = RangeCheck(text, PreferenceValues::kMinDiskCapMiB / kMiBPerGiB,
                                     PreferenceValues::kMaxDiskCapMiB / kMiBPerGiB);
    if (!range.isEmpty())
        return range;
    if (timeshiftFreeBytes <= 0 || NumberOf(text) * kBytesPerGiB <= double(timeshiftFreeBytes))
        return {}; // 0: the disk cannot tell
    return strings.Text(Preferences, PrefCapOverDisk).arg(QLocale().toString(double(timeshiftFreeBytes) / kBytesPerGiB, 'f', 1));
}

QString CPreferencesDlg::AgentCheck(const QString& text) const
{
    return IsSafeHeaderValue(text) ? QString() : strings.Text(Preferences, PrefUnsafeHeader);
}

QString CPreferencesDlg::LanguagesCheck(const QString& text) const
{
    const QStringList codes = LanguageCodes(text);
    for (const QString& code : codes) {
        if (!IsLanguageCode(code))
            return strings.Text(Privacy, PrefLanguagesInvalid).arg(code);
    }
    if (codes.size() > PreferenceValues::kMaxLanguages)
        return strings.Text(Preferences, PrefOutOfRange).arg(0).arg(PreferenceValues::kMaxLanguages);
    return {};
}

QString CPreferencesDlg::FolderCheck(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return strings.Text(Preferences, PrefFolderNotWritable);
    const QFileInfo nearest = NearestExisting(text.trimmed());
    // Permission bits do not tell on every file system, nor for root: a file is tried.
    QTemporaryFile probe(QDir(nearest.absoluteFilePath()).filePath(QStringLiteral(".korvanta-XXXXXX")));
    return nearest.isDir() && probe.open() ? QString() : strings.Text(Preferences, PrefFolderNotWritable);
}

void CPreferencesDlg::BrowseFolder()
{
    QLineEdit* folder = Field(PrefRecordingFolder);
    const QString chosen = QFileDialog::getExistingDirectory(this, strings.Text(Preferences, PrefRecordingFolder), folder->text());
    if (!chosen.isEmpty())
        folder->setText(chosen);
}

void CPreferencesDlg::Recheck()
{
    bool allPass = true;
    for (const Line& line : lines) {
        const QString problem = line.check(line.edit->text());
        line.note->setText(problem);
        line.edit->setAccessibleDescription(problem);
        allPass = allPass && problem.isEmpty();
    }
    GetDlgItem(IDOK)->setEnabled(allPass);
}

const CPreferencesDlg::Line* CPreferencesDlg::LineOf(int label, LanguageGroup group) const
{
    for (const Line& line : lines) {
        if (line.label == label && line.group == group)
            return &line;
    }
    return nullptr;
}

QLineEdit* CPreferencesDlg::Field(int label, LanguageGroup group) const
{
    const Line* line = LineOf(label, group);
    return line != nullptr ? line->edit : nullptr;
}

QString CPreferencesDlg::Note(int label, LanguageGroup group) const
{
    const Line* line = LineOf(label, group);
    return line != nullptr ? line->note->text() : QString();
}

PreferenceValues CPreferencesDlg::Values() const
{
    return values;
}

void CPreferencesDlg::OnOK()
{
    for (const Line& line : lines) {
        if (!line.check(line.edit->text()).isEmpty())
            return;
    }
    values.hardwareDecoding = decoding->currentIndex() == 1;
    values.numberDelayMs = int(std::lround(NumberOf(Field(PrefNumberDelay)->text()) * kMsPerSecond));
    values.timeshiftMinutes = int(std::lround(NumberOf(Field(PrefTimeshiftMinutes)->text())));
    values.timeshiftDiskCapMiB = int(std::lround(NumberOf(Field(PrefTimeshiftCap)->text()) * kMiBPerGiB));
    values.recordingFolder = Field(PrefRecordingFolder)->text().trimmed();
    values.recordBeforeMinutes = int(std::lround(NumberOf(Field(RecBeforeMinutes, Recordings)->text())));
    values.recordAfterMinutes = int(std::lround(NumberOf(Field(RecAfterMinutes, Recordings)->text())));
    values.recordingsAtOnce = int(std::lround(NumberOf(Field(RecAtOnce, Recordings)->text())));
    values.guideRefreshHours = int(std::lround(NumberOf(Field(PrefGuideRefresh)->text())));
    values.reminderLeadMinutes = int(std::lround(NumberOf(Field(GuideOrderReminderLead, GuideOrder)->text())));
    values.logoCacheMB = int(std::lround(NumberOf(Field(PrefLogoCache)->text())));
    values.userAgent = Field(PrefUserAgent)->text().trimmed();
    values.downloadTimeoutSeconds = int(std::lround(NumberOf(Field(PrefTimeout)->text())));
    values.audioLanguages = LanguageCodes(Field(PrefAudioLanguages, Privacy)->text());
    values.subtitleLanguages = LanguageCodes(Field(PrefSubtitleLanguages, Privacy)->text());
    values.startWithLastChannel = startLast->isChecked();
    values.timeshiftOn = timeshiftOn->isChecked();
    values.guideCorrectionMinutes = int(std::lround(NumberOf(Field(PrefTimeCorrection, Privacy)->text()) * kMinutesPerHour));
    values.guideDaysBack = int(std::lround(NumberOf(Field(PrefGuideDaysBack, Privacy)->text())));
    EndDialog(IDOK);
}
