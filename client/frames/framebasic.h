#pragma once
// The base of every work frame shown in the main window's work panel: a title
// bar, the kind property of the query and statistics frames, the four
// operations through which the main window drives a frame, and the helpers
// shared by the frames' lists.
#include "common/value.h"

#include <QFrame>
#include <functional>

class QChartView;
class QLabel;
class QMenu;
class QTreeWidget;
class QVBoxLayout;

namespace corvexa::client {

class RecordSet;

class TFrameBasic : public QFrame {
    Q_OBJECT
public:
    explicit TFrameBasic(QWidget* parent = nullptr);

    // The fixed tag of the frame's class (10 organization … 62 mobile members).
    virtual int tag() const = 0;

    // Once, right after the main window placed the frame in the work panel.
    virtual void FrameInit() = 0;
    // Before a tree selection changes; false keeps the selection.
    virtual bool FrameCanLeave() = 0;
    // Before the frame is taken out of the work panel for another one.
    virtual void FrameLeave() = 0;
    // Each time the frame is shown again, or its node or kind changed.
    virtual void FrameShow() = 0;
    // Member frames: show the page of the category (0 current, 1 candidates,
    // 2 added this year, 3 left this year) and select the list row with the
    // caption. Other frames have no such pages.
    virtual void showCategoryItem(int /*category*/, const QString& /*caption*/) {}

    QString FrameKind;

    void setTitle(const QString& title);
    QString title() const;
    QLabel* PanelTitle() const { return m_title; }

    // "选中记录条数：selected/all" into the main window's record-count pane.
    static void ShowSelCount(const QTreeWidget* list);
    // Selects the first row whose caption is exactly the given one.
    static void SelectItemByCaption(const QString& caption, QTreeWidget* list);

    // A list into the current Excel sheet from startRow: "序号" and the column
    // captions, then the selected rows when more than one is selected, else all
    // rows, each with its running number. Ends with its message.
    static void ExportListView(QTreeWidget* list, int startRow);
    // A record set's visible fields likewise: the record number, then each
    // value as text (是/否, "%.2f", yyyy-mm-dd; empty cells for no value).
    // The current row comes back and bound views resume, also after a failure.
    static void ExportDataSet(RecordSet& set, int startRow);
    // How ExportDataSet writes a value of a field of the given type.
    static QString exportText(const Value& value, int fieldType);

    // Chart menu: 标签类型 (数值, 百分比, 标题, 标题＋百分比, 标题＋数值) for
    // every series of the chart, and 保存图片... as a bitmap.
    enum LabelStyle { LabelValue, LabelPercent, LabelTitle, LabelTitlePercent, LabelTitleValue };
    QMenu* PopMenuChart() const { return m_chartMenu; }
    void attachChartMenu(QChartView* view);
    static void applyLabelStyle(QChartView* view, int style);
    static int labelStyle(const QChartView* view);
    // The texts shown over the bars of the chart, series by series.
    static QStringList barLabels(QChartView* view);
    // Asks for a file name (保存图片, *.bmp) and saves the chart there.
    static bool saveChartPicture(QChartView* view, QWidget* parent);

    // Check-list menu: 全选 / 全不选 / 反选 / 勾选加亮的行 on the list it is opened on.
    QMenu* PopMenuChkList() const { return m_chkListMenu; }
    void attachCheckListMenu(QTreeWidget* list);
    static void applyCheckListCommand(QTreeWidget* list, int command);

protected:
    // The area below the title bar where the frame puts its controls.
    QVBoxLayout* body() const { return m_body; }

private:
    QLabel* m_title;
    QVBoxLayout* m_body;
    QMenu* m_chkListMenu;
    QMenu* m_chartMenu;
    QChartView* m_menuChart = nullptr;
    QTreeWidget* m_menuList = nullptr;
};

// Where ShowSelCount writes; the main window installs its status pane.
void setRecordCountSink(std::function<void(const QString&)> sink);

} // namespace corvexa::client
