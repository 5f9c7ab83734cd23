#include "framebasic.h"

#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvexa::client {
namespace {
std::function<void(const QString&)>& recordCountSink() {
    static std::function<void(const QString&)> sink;
    return sink;
}
} // namespace

void setRecordCountSink(std::function<void(const QString&)> sink) {
    recordCountSink() = std::move(sink);
}

TFrameBasic::TFrameBasic(QWidget* parent) : QFrame(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_title = new QLabel(QStringLiteral("标题"), this);
    m_title->setObjectName(QStringLiteral("PanelTitle"));
    m_title->setAutoFillBackground(true);
    m_title->setContentsMargins(8, 4, 8, 4);
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    m_title->setFont(font);
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0xa8)); // a strong "hot light" blue
    palette.setColor(QPalette::WindowText, Qt::white);
    m_title->setPalette(palette);
    layout->addWidget(m_title);
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(m_body, 1);

    m_chkListMenu = new QMenu(this);
    const char* items[] = {"全选", "全不选", "反选", nullptr, "勾选加亮的行"};
    int command = 0;
    for (const char* item : items) {
        if (!item) {
            m_chkListMenu->addSeparator();
            continue;
        }
        QAction* action = m_chkListMenu->addAction(QString::fromUtf8(item));
        action->setData(command++);
        connect(action, &QAction::triggered, this, [this, action] {
            if (m_menuList) applyCheckListCommand(m_menuList, action->data().toInt());
        });
    }
}

void TFrameBasic::setTitle(const QString& title) {
    m_title->setText(title);
}

QString TFrameBasic::title() const {
    return m_title->text();
}

void TFrameBasic::ShowSelCount(const QTreeWidget* list) {
    if (!list || !recordCountSink()) return;
    recordCountSink()(QStringLiteral("选中记录条数：%1/%2")
                          .arg(list->selectedItems().size())
                          .arg(list->topLevelItemCount()));
}

void TFrameBasic::SelectItemByCaption(const QString& caption, QTreeWidget* list) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->text(0) == caption) {
            list->clearSelection();
            list->setCurrentItem(item);
            item->setSelected(true);
            list->scrollToItem(item);
            return;
        }
    }
}

void TFrameBasic::attachCheckListMenu(QTreeWidget* list) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
        m_menuList = list;
        m_chkListMenu->exec(list->viewport()->mapToGlobal(pos));
    });
}

void TFrameBasic::applyCheckListCommand(QTreeWidget* list, int command) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        bool checked = item->checkState(0) == Qt::Checked;
        switch (command) {
        case 0:
            checked = true;
            break;
        case 1:
            checked = false;
            break;
        case 2:
            checked = !checked;
            break;
        case 3:
            checked = item->isSelected();
            break;
        default:
            return;
        }
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace corvexa::client
