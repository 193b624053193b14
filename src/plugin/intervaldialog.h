#pragma once
// The plug-in's settings dialog: the poll interval in milliseconds.
#include <QDialog>

class QLineEdit;

class IntervalDialog : public QDialog {
    Q_OBJECT
public:
    explicit IntervalDialog(int interval, QWidget *parent = nullptr);

    // The edit box's text as typed (at most 9 characters, not validated).
    QString intervalText() const;

private:
    QLineEdit *m_edit;
};
