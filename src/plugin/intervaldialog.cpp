#include "plugin/intervaldialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

IntervalDialog::IntervalDialog(int interval, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tunovia Lyrics Sub Plug-In"));
    setModal(true);

    auto *group = new QGroupBox(QStringLiteral("更新間隔"), this);
    group->setObjectName(QStringLiteral("IntervalGroup"));
    m_edit = new QLineEdit(QString::number(interval), group);
    m_edit->setObjectName(QStringLiteral("IntervalEdit"));
    m_edit->setMaxLength(9);
    m_edit->setFixedWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    auto *unit = new QLabel(QStringLiteral("ミリ秒"), group);
    unit->setObjectName(QStringLiteral("IntervalUnit"));
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(m_edit);
    groupLayout->addWidget(unit);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString IntervalDialog::intervalText() const { return m_edit->text(); }
