#include "placeholderframe.h"

#include <QLabel>
#include <QVBoxLayout>

namespace corvexa::client {

TFramePlaceholder::TFramePlaceholder(int tag, const QString& title, QWidget* parent)
    : TFrameBasic(parent), m_tag(tag), m_text(new QLabel(this)) {
    setTitle(title);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    body()->addWidget(m_text, 1);
}

void TFramePlaceholder::FrameInit() {
    calls << QStringLiteral("FrameInit");
    FrameShow();
}

void TFramePlaceholder::FrameLeave() {
    calls << QStringLiteral("FrameLeave");
}

void TFramePlaceholder::showCategoryItem(int category, const QString& caption) {
    calls << QStringLiteral("showCategoryItem %1 %2").arg(category).arg(caption);
}

void TFramePlaceholder::FrameShow() {
    calls << QStringLiteral("FrameShow");
    QString text = QStringLiteral("%1\n\n（窗口编号 %2，本版本尚未提供）").arg(title()).arg(m_tag);
    if (!FrameKind.isEmpty()) text += QStringLiteral("\n类别：%1").arg(FrameKind);
    m_text->setText(text);
}

} // namespace corvexa::client
