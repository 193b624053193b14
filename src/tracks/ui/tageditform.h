#pragma once
// The ID3v1 tag editor: one modal dialog per file.
#include "tracks/id3v1.h"

#include <QDialog>

class GenreTable;
class QComboBox;
class QLineEdit;
class QPushButton;

class TTagEditF : public QDialog {
    Q_OBJECT
public:
    // Shows `tag` (as read from `path`); the genre list has one entry per
    // genre number 0-255 whatever the table holds.
    TTagEditF(const QString &path, const id3v1::TagFields &tag, const GenreTable &genres, QWidget *parent = nullptr);

    // The values to write; genre 255 when no entry is chosen.
    id3v1::TagFields fields() const;

    QLineEdit *Title = nullptr;
    QLineEdit *Artist = nullptr;
    QLineEdit *Album = nullptr;
    QLineEdit *Comment = nullptr;
    QLineEdit *Year = nullptr;
    QComboBox *GenreList = nullptr;
    QLineEdit *FileName = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};
