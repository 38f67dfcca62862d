#pragma once
// The donation appeal: three amount buttons, each opening its payment page while the
// dialog stays open.

#include "Dialog.h"

struct LanguageStrings;

constexpr int IDC_DONATE_10 = 1012;
constexpr int IDC_DONATE_20 = 1013;
constexpr int IDC_DONATE_30 = 1014;
constexpr int IDC_DONATE_TEXT = 1016;

class CDonateDlg : public CDialog
{
    Q_OBJECT
public:
    CDonateDlg(QWidget* parent, const LanguageStrings& strings);

protected:
    void OnInitDialog() override;
    void OnCommand(int id) override;

private:
    const LanguageStrings& strings;
};
