#include "splash.h"

#include "data/datamodule.h"
#include "frames/appicons.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace corvexa::client {

TFormSplash::TFormSplash(bool about, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), m_picture(new QLabel(this)),
      m_credit(new QLabel(this)) {
    setObjectName(QStringLiteral("FormSplash"));
    m_picture->setPixmap(appPicture("splash", QSize(480, 300)));
    m_picture->setFixedSize(480, 300);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 8);
    layout->addWidget(m_picture);
    auto* info = new QGridLayout;
    info->setContentsMargins(12, 4, 12, 0);
    info->addWidget(new QLabel(QStringLiteral("软件更新日期："), this), 0, 0);
    info->addWidget(new QLabel(QString::fromLatin1(TDM::kClientVersion), this), 0, 1);
    info->addWidget(new QLabel(QStringLiteral("最新版本下载："), this), 1, 0);
    auto* link = new QLabel(QStringLiteral("<a href=\"https://corvexa.example.org/download\">"
                                           "corvexa.example.org/download</a>"),
                            this);
    link->setOpenExternalLinks(true);
    info->addWidget(link, 1, 1);
    m_credit->setText(QStringLiteral("为高校二级党组织的党员信息管理而作"));
    m_credit->setVisible(about);
    info->addWidget(m_credit, 2, 0, 1, 2);
    info->setColumnStretch(1, 1);
    layout->addLayout(info);
    setStyleSheet(QStringLiteral("#FormSplash { background: white; border: 1px solid #8a1c1c; }"));
    adjustSize();
}

void TFormSplash::mousePressEvent(QMouseEvent* event) {
    if (m_picture->geometry().contains(event->position().toPoint())) close();
    QDialog::mousePressEvent(event);
}

} // namespace corvexa::client
