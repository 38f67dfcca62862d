#include "CAddAccountDlg.h"

#include "AccountsTexts.h"
#include "LanguageStrings.h"
#include "PlaylistTexts.h"

#include <QLineEdit>

namespace {
const DialogControl kTemplate[] = {
    {IDC_ACCOUNT_SERVER_LABEL, ControlKind::Static, {7, 7, 204, 8}, ""},
    {IDC_ACCOUNT_SERVER, ControlKind::Edit, {7, 17, 204, 14}, ""},
    {IDC_ACCOUNT_USER_LABEL, ControlKind::Static, {7, 36, 204, 8}, ""},
    {IDC_ACCOUNT_USER, ControlKind::Edit, {7, 46, 204, 14}, ""},
    {IDC_ACCOUNT_PASSWORD_LABEL, ControlKind::Static, {7, 65, 204, 8}, ""},
    {IDC_ACCOUNT_PASSWORD, ControlKind::Edit, {7, 75, 204, 14}, ""},
    {IDC_STATIC, ControlKind::EtchedLine, {-5, 97, 230, 1}, nullptr},
    {IDOK, ControlKind::DefaultButton, {107, 104, 50, 16}, ""},
    {IDCANCEL, ControlKind::Button, {161, 104, 50, 16}, ""},
};
} // namespace

CAddAccountDlg::CAddAccountDlg(QWidget* parent, const LanguageStrings& strings)
    : CDialog(parent, {218, 127}, kTemplate), strings(strings)
{
}

void CAddAccountDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(Accounts, AccountsDialogTitle));
    SetDlgItemText(IDC_ACCOUNT_SERVER_LABEL, strings.Text(Accounts, AccountsServerLabel));
    SetDlgItemText(IDC_ACCOUNT_USER_LABEL, strings.Text(Accounts, AccountsUserLabel));
    SetDlgItemText(IDC_ACCOUNT_PASSWORD_LABEL, strings.Text(Accounts, AccountsPasswordLabel));
    if (auto* field = qobject_cast<QLineEdit*>(GetDlgItem(IDC_ACCOUNT_PASSWORD)))
        field->setEchoMode(QLineEdit::Password);
    SetDlgItemText(IDOK, strings.Text(Playlists, PlaylistOk));
    SetDlgItemText(IDCANCEL, strings.Text(Playlists, PlaylistCancel));
}

void CAddAccountDlg::OnOK()
{
    server = GetDlgItemText(IDC_ACCOUNT_SERVER).trimmed();
    user = GetDlgItemText(IDC_ACCOUNT_USER).trimmed();
    password = GetDlgItemText(IDC_ACCOUNT_PASSWORD);
    if (!server.isEmpty() && !user.isEmpty() && !password.isEmpty())
        EndDialog(IDOK); // as Add playlist: with a field empty, OK does nothing
}
