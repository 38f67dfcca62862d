#include "CAboutDlg.h"

#include "CDonateDlg.h"
#include "LanguageStrings.h"
#include "ShellOpen.h"
#include "SupportAddresses.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

namespace {
const DialogControl kTemplate[] = {
    {IDC_STATIC, ControlKind::Icon, {25, 7, 20, 20}, ":/about/137.ico"},
    {IDC_STATIC, ControlKind::Icon, {78, 7, 20, 20}, ":/about/138.ico"},
    {IDC_STATIC, ControlKind::Static, {30, 59, 158, 11}, "Korvanta (version 2.0)"},
    {IDC_STATIC, ControlKind::Static, {30, 70, 158, 11}, "Copyright \u00A9 2026 the Korvanta developers."},
    {IDC_STATIC, ControlKind::Static, {30, 81, 158, 11}, "Free to use and share, without any warranty."},
    {IDC_ABOUT_LINE1, ControlKind::Static, {30, 103, 158, 11}, "111"},
    {IDC_ABOUT_LINE2, ControlKind::Static, {30, 113, 80, 11}, "222"},
    {IDC_MAIL_LINK, ControlKind::Static, {111, 113, 77, 11}, "Static"},
    {IDC_STATIC, ControlKind::EtchedLine, {0, 151, 198, 1}, nullptr},
    {IDC_DONATE, ControlKind::Button, {80, 156, 50, 16}, ""},
    {IDOK, ControlKind::DefaultButton, {138, 156, 50, 16}, ""},
};
} // namespace

// The icons are resources of this static library: registered before the controls exist.
static std::span<const DialogControl> AboutTemplate()
{
    Q_INIT_RESOURCE(dialogs);
    return kTemplate;
}

CAboutDlg::CAboutDlg(QWidget* parent, const LanguageStrings& strings)
    : CDialog(parent, {195, 179}, AboutTemplate()), strings(strings)
{
    // Mouse moves over the statics reach the dialog, which tracks the link itself.
    setMouseTracking(true);
}

void CAboutDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(AboutDialog, 0));
    SetDlgItemText(IDOK, strings.Text(AboutDialog, 1));
    SetDlgItemText(IDC_DONATE, strings.Text(AboutDialog, 2));
    SetDlgItemText(IDC_ABOUT_LINE1, strings.Text(AboutDialog, 3));
    SetDlgItemText(IDC_ABOUT_LINE2, strings.Text(AboutDialog, 4));
    PlaceLink();
}

void CAboutDlg::PlaceLink()
{
    QWidget* label = GetDlgItem(IDC_ABOUT_LINE2);
    auto* link = static_cast<QLabel*>(GetDlgItem(IDC_MAIL_LINK));
    link->setText(SupportEmailAddress());

    QFont linkFont = link->font();
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(palette);

    // The label is cut to its text and one space; the link follows it on the same line.
    const int labelWidth = QFontMetrics(label->font())
                               .horizontalAdvance(strings.Text(AboutDialog, 4) + QLatin1Char(' '));
    const QRect labelRect = label->geometry();
    label->setGeometry(labelRect.left(), labelRect.top(), labelWidth, labelRect.height());

    const int left = labelRect.left() + labelWidth;
    const int linkWidth = QFontMetrics(linkFont).horizontalAdvance(SupportEmailAddress());
    linkRect = QRect(left, labelRect.top(), linkWidth, labelRect.height());
    link->setGeometry(linkRect);
    overLink = false;
}

void CAboutDlg::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    overLink = !linkRect.isNull() && p.x() >= linkRect.left()
               && p.x() <= linkRect.left() + linkRect.width() && p.y() >= linkRect.top()
               && p.y() <= linkRect.top() + linkRect.height();
    if (overLink)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    CDialog::mouseMoveEvent(event);
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (overLink && event->button() == Qt::LeftButton)
        ShellOpen(QUrl(QStringLiteral("mailto:") + SupportEmailAddress()));
    CDialog::mouseReleaseEvent(event);
}

void CAboutDlg::OnCommand(int id)
{
    if (id != IDC_DONATE)
        return;
    CDonateDlg donate(this, strings);
    donate.DoModal();
}
