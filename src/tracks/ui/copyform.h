#pragma once
// The copy dialog: the selected tracks in copy order and the copy options.
#include "config/settingsstore.h"
#include "tracks/trackrecord.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class TCopyF : public QDialog {
    Q_OBJECT
public:
    explicit TCopyF(const CopyOptions &options, QWidget *parent = nullptr);

    // Fills CopyList, one row per track in the given order.
    void setTracks(const std::vector<TrackRecord> &tracks);
    CopyOptions options() const;
    // For each row of CopyList from the top, the index of its track in setTracks.
    std::vector<int> order() const;

    QRadioButton *AutoCopy = nullptr;
    QRadioButton *ManualCopy = nullptr;
    QCheckBox *MoveChk = nullptr;
    QCheckBox *CopyMP3Chk = nullptr;
    QCheckBox *CopySameLyricsChk = nullptr;
    QCheckBox *CopyFindLyricsChk = nullptr;
    QTreeWidget *CopyList = nullptr;
    QPushButton *UpBtn = nullptr;
    QPushButton *DownBtn = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    void UpBtnClick();
    void DownBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reorder(const std::vector<int> &newOrder, const std::vector<bool> &selected);
    std::vector<bool> selectedRows() const;
};
