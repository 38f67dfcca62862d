#pragma once
// Help's list of keys: every key of the table the keys are bound from, by the place where it
// works, with what it does, in the pack's language.

#include "Dialog.h"

struct LanguageStrings;
class QTreeWidget;

constexpr int IDC_SHORTCUT_LIST = 1030;

class CShortcutsDlg : public CDialog
{
    Q_OBJECT
public:
    CShortcutsDlg(QWidget* parent, const LanguageStrings& strings);

    QTreeWidget* List() const;

protected:
    void OnInitDialog() override;

private:
    void FillPlace(unsigned place, const QString& title, bool digits);

    const LanguageStrings& strings;
};
