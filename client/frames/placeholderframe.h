#pragma once
// Stands in for a work frame that this version does not have yet, so that every
// tree node and action can already be chosen: it shows its tag and title and
// counts how the main window drove it.
#include "framebasic.h"

class QLabel;

namespace corvexa::client {

class TFramePlaceholder : public TFrameBasic {
    Q_OBJECT
public:
    TFramePlaceholder(int tag, const QString& title, QWidget* parent = nullptr);

    int tag() const override { return m_tag; }
    void FrameInit() override;
    bool FrameCanLeave() override { return true; }
    void FrameLeave() override;
    void FrameShow() override;
    void showCategoryItem(int category, const QString& caption) override;

    // Every operation called so far, in order ("FrameInit", "FrameShow", …).
    QStringList calls;

private:
    int m_tag;
    QLabel* m_text;
};

} // namespace corvexa::client
