#pragma once
// Lets the user choose the interface language among the folders under "Languages".

#include "Dialog.h"

#include <QString>

struct LanguageStrings;
class QTreeWidget;

constexpr int IDC_LANGUAGE_LIST = 1005;
constexpr int IDC_LANGUAGE_PROMPT = 1006;

class CLanguageDlg : public CDialog
{
    Q_OBJECT
public:
    CLanguageDlg(QWidget* parent, const LanguageStrings& strings, const QString& language);

    // The caller's language, or after OK the folder name chosen.
    QString Language() const { return language; }

    QTreeWidget* List() const;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void FillList();
    void OnSelectionChanged();

    const LanguageStrings& strings;
    QString language;
};
