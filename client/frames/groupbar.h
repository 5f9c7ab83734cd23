#pragma once
// A column of groups of which at most one is open: each group is a header
// button over its content. Clicking the open group's header closes it.
#include <QIcon>
#include <QWidget>
#include <vector>

class QToolButton;
class QVBoxLayout;

namespace corvexa::client {

class GroupBar : public QWidget {
    Q_OBJECT
public:
    explicit GroupBar(QWidget* parent = nullptr);

    int addGroup(const QString& caption, const QIcon& icon, QWidget* content);
    int count() const { return int(m_groups.size()); }
    QWidget* content(int group) const;

    // -1 when every group is closed.
    int openGroup() const { return m_open; }
    bool isOpen(int group) const { return m_open == group; }
    // Opening a group closes the open one first.
    void setOpen(int group, bool open);
    void setGroupVisible(int group, bool visible);
    bool isGroupVisible(int group) const;

signals:
    void groupOpened(int group);
    void groupClosed(int group);

private:
    struct Group {
        QToolButton* header;
        QWidget* content;
        bool visible = true;
    };
    void layoutGroups();

    std::vector<Group> m_groups;
    QVBoxLayout* m_layout;
    int m_open = -1;
};

} // namespace corvexa::client
