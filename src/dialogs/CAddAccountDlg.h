#pragma once
// Asks for a provider account: the panel's server address, a user name and a password.

#include "Dialog.h"

struct LanguageStrings;

constexpr int IDC_ACCOUNT_SERVER_LABEL = 1111;
constexpr int IDC_ACCOUNT_SERVER = 1112;
constexpr int IDC_ACCOUNT_USER_LABEL = 1113;
constexpr int IDC_ACCOUNT_USER = 1114;
constexpr int IDC_ACCOUNT_PASSWORD_LABEL = 1115;
constexpr int IDC_ACCOUNT_PASSWORD = 1116;

class CAddAccountDlg : public CDialog
{
    Q_OBJECT
public:
    CAddAccountDlg(QWidget* parent, const LanguageStrings& strings);

    QString Server() const { return server; }
    QString User() const { return user; }
    QString Password() const { return password; }

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    const LanguageStrings& strings;
    QString server, user, password;
};
