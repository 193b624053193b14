#pragma once
// The find dialog: a search text with its history and the fields to search.
#include "platform/profile.h"
#include "tracks/findtotals.h"

#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

class TFindF : public QDialog {
    Q_OBJECT
public:
    // The history is read from, and on OK written to, `settings` (section "Find").
    TFindF(ProfileFile &settings, bool fiveColumnList, QWidget *parent = nullptr);

    QString findText() const;
    findtotals::FindBoxes boxes() const;
    // The texts in the drop-down list, oldest first.
    QStringList historyEntries() const;
    // How OK's store of the history went (fine until OK).
    const ProfileWrite &saveResult() const { return m_saveResult; }

    QComboBox *FindTextBox = nullptr;
    std::array<QCheckBox *, findtotals::kFindBoxCount> CheckBox{}; // CheckBox1-CheckBox13
    QPushButton *AllYesBtn = nullptr;
    QPushButton *AllNoBtn = nullptr;
    QPushButton *InvBtn = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    void AllYesBtnClick();
    void AllNoBtnClick();
    void InvBtnClick();
    void OkBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ProfileFile &m_settings;
    ProfileWrite m_saveResult;
};
