#pragma once
// The About box: the program's icons, name, legal notice, two lines from the language pack
// and the support address as a mail link; a second button opens the donation appeal.

#include "Dialog.h"

#include <QRect>

struct LanguageStrings;

constexpr int IDC_DONATE = 1009;
constexpr int IDC_ABOUT_LINE1 = 1010;
constexpr int IDC_ABOUT_LINE2 = 1011;
constexpr int IDC_MAIL_LINK = 1017;

class CAboutDlg : public CDialog
{
    Q_OBJECT
public:
    CAboutDlg(QWidget* parent, const LanguageStrings& strings);

    // Dialog client coordinates; right and bottom edges count as inside.
    QRect LinkRect() const { return linkRect; }
    bool OverLink() const { return overLink; }

protected:
    void OnInitDialog() override;
    void OnCommand(int id) override;

    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PlaceLink();

    const LanguageStrings& strings;
    bool overLink = false;
    QRect linkRect;
};
