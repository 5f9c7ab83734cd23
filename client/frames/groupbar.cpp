#include "groupbar.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace corvexa::client {

GroupBar::GroupBar(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
}

int GroupBar::addGroup(const QString& caption, const QIcon& icon, QWidget* content) {
    auto* header = new QToolButton(this);
    header->setText(caption);
    header->setIcon(icon);
    header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header->setCheckable(true);
    header->setAutoRaise(false);
    header->setMinimumHeight(26);
    content->setParent(this);
    content->hide();
    const int index = int(m_groups.size());
    m_groups.push_back({header, content, true});
    // Before the stretch that keeps closed groups at the top.
    m_layout->insertWidget(m_layout->count() - 1, header);
    m_layout->insertWidget(m_layout->count() - 1, content, 1);
    connect(header, &QToolButton::clicked, this, [this, index] { setOpen(index, !isOpen(index)); });
    return index;
}

QWidget* GroupBar::content(int group) const {
    return group >= 0 && group < count() ? m_groups[size_t(group)].content : nullptr;
}

void GroupBar::setOpen(int group, bool open) {
    if (group < 0 || group >= count()) return;
    if (open == isOpen(group)) {
        m_groups[size_t(group)].header->setChecked(open);
        return;
    }
    if (open) {
        if (m_open >= 0) setOpen(m_open, false);
        m_open = group;
    } else {
        m_open = -1;
    }
    layoutGroups();
    if (open)
        emit groupOpened(group);
    else
        emit groupClosed(group);
}

void GroupBar::setGroupVisible(int group, bool visible) {
    if (group < 0 || group >= count()) return;
    if (!visible && isOpen(group)) setOpen(group, false);
    m_groups[size_t(group)].visible = visible;
    layoutGroups();
}

bool GroupBar::isGroupVisible(int group) const {
    return group >= 0 && group < count() && m_groups[size_t(group)].visible;
}

void GroupBar::layoutGroups() {
    for (int i = 0; i < count(); ++i) {
        const Group& g = m_groups[size_t(i)];
        g.header->setVisible(g.visible);
        g.header->setChecked(i == m_open);
        g.content->setVisible(g.visible && i == m_open);
    }
    // The closed headers stay at the top when nothing is open.
    m_layout->setStretch(m_layout->count() - 1, m_open < 0 ? 1 : 0);
}

} // namespace corvexa::client
