#include "CDonateDlg.h"

#include "LanguageStrings.h"
#include "ShellOpen.h"
#include "SupportAddresses.h"

#include <QUrl>

namespace {
const DialogControl kTemplate[] = {
    {IDC_DONATE_TEXT, ControlKind::StaticWrap, {14, 14, 164, 31}, ""},
    {IDC_DONATE_10, ControlKind::Button, {14, 57, 50, 16}, "1"},
    {IDC_DONATE_20, ControlKind::Button, {72, 57, 50, 16}, "2"},
    {IDC_DONATE_30, ControlKind::Button, {129, 57, 50, 16}, "3"},
    {IDC_STATIC, ControlKind::EtchedLine, {-5, 88, 208, 1}, nullptr},
    {IDOK, ControlKind::DefaultButton, {136, 95, 50, 16}, ""},
};

// The amounts are the program's own; only the word before them is translated.
const char* const kAmounts[] = {"$10", "$20", "$30"};
} // namespace

CDonateDlg::CDonateDlg(QWidget* parent, const LanguageStrings& strings)
    : CDialog(parent, {193, 118}, kTemplate), strings(strings)
{
}

void CDonateDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(DonateDialog, 0));
    SetDlgItemText(IDOK, strings.Text(DonateDialog, 1));
    SetDlgItemText(IDC_DONATE_TEXT, strings.Text(DonateDialog, 2));
    const QString prefix = strings.Text(DonateDialog, 3) + QLatin1Char(' ');
    for (int i = 0; i < 3; ++i)
        SetDlgItemText(IDC_DONATE_10 + i, prefix + QLatin1String(kAmounts[i]));
}

void CDonateDlg::OnCommand(int id)
{
    const int index = id - IDC_DONATE_10;
    if (index < 0 || index >= 3)
        return;
    ShellOpen(QUrl(DonatePageAddresses()[index]));
}
