#pragma once
// "Guides…": every guide the viewer has, in the order whose first guide with a programme
// at a moment shows it, with its channels' count, last import and state. Up and Down move
// the selected guide, its check box turns it off, and below are its time correction and
// refresh interval. Each change takes effect at once.

#include "LanguageStrings.h"

#include <QDialog>

class GuideLibrary;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

class GuidesDlg : public QDialog
{
    Q_OBJECT
public:
    enum Column { ColumnGuide, ColumnChannels, ColumnImported, ColumnState, ColumnCount };

    GuidesDlg(QWidget* parent, const LanguageStrings& texts, GuideLibrary& library);

    QTreeWidget* List() const { return list; }
    QDoubleSpinBox* Correction() const { return correction; }
    QSpinBox* Refresh() const { return refresh; }

private:
    void Fill();
    void ShowSelected();
    void Move(int step);
    void Checked(QTreeWidgetItem* item, int column);
    void SettingEdited();
    QString StateOf(int guide, bool stored) const;
    int Selected() const;

    const LanguageStrings& texts;
    GuideLibrary& library;
    QTreeWidget* list = nullptr;
    QPushButton* up = nullptr;
    QPushButton* down = nullptr;
    QDoubleSpinBox* correction = nullptr;
    QSpinBox* refresh = nullptr;
};
