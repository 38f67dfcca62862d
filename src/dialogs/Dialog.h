#pragma once
// A modal dialog built from a constant template: controls with ids and rectangles in
// dialog units, converted to pixels from the dialog's font. Initialisation runs when the
// dialog is first shown, inside event dispatch, so an invalid-argument error raised there
// is reported and ends only the initialisation, keeping what it had already set.

#include "DialogUnits.h"
#include "MessageBox.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <span>
#include <vector>

constexpr int IDC_STATIC = -1;

enum class ControlKind {
    Static,        // left-aligned text on one line
    StaticWrap,    // left-aligned text, word-wrapped
    Icon,          // the text names an image resource shown at its real size
    Button,
    DefaultButton,
    ListView,
    EtchedLine,
    Edit,          // one line of text the user types
};

struct DialogControl
{
    int id;
    ControlKind kind;
    QRect rect; // dialog units
    const char* text;
};

class CDialog : public QDialog
{
    Q_OBJECT
public:
    // Runs the dialog modally; IDOK or IDCANCEL.
    int DoModal();

    // The first control with this id, or nullptr.
    QWidget* GetDlgItem(int id) const;
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);

    const CDialogUnits& Units() const { return units; }

protected:
    CDialog(QWidget* parent, QSize clientSizeDu, std::span<const DialogControl> controls);

    virtual void OnInitDialog() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Buttons other than OK (1) and Cancel (2).
    virtual void OnCommand(int /*id*/) {}

    void EndDialog(int result) { done(result); }

    void showEvent(QShowEvent* event) override;
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

private:
    struct Item
    {
        int id;
        QWidget* widget;
    };

    QWidget* CreateControl(const DialogControl& control);

    CDialogUnits units;
    std::vector<Item> items;
    bool initialised = false;
};
