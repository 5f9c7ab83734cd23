#pragma once
// Edits a letter template: a list of its items, a form for the chosen item
// (position, size, font, text with fields, line style), a live preview with
// sample values, and save back to the file.
#include "lettertemplate.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QListWidget;
class QPlainTextEdit;

namespace corvexa::office {

class LetterPagesView;

class LetterDesigner : public QWidget {
    Q_OBJECT
public:
    explicit LetterDesigner(QWidget* parent = nullptr);

    bool openTemplate(const QString& path, QString* error);
    bool save(QString* error);
    const LetterTemplate& letterTemplate() const { return letter_; }
    bool isModified() const { return modified_; }

    void selectItem(int index);
    int currentItem() const;
    void addItem(LetterItem::Kind kind);
    void removeCurrentItem();

signals:
    void modifiedChanged(bool modified);
    void failed(const QString& message);

private:
    void loadForm();
    void applyForm();
    void refreshList();
    void setModified(bool modified);

    QString path_;
    LetterTemplate letter_;
    bool modified_ = false;
    bool loading_ = false;

    QListWidget* list_;
    QDoubleSpinBox* x_;
    QDoubleSpinBox* y_;
    QDoubleSpinBox* w_;
    QDoubleSpinBox* h_;
    QFontComboBox* font_;
    QDoubleSpinBox* size_;
    QCheckBox* bold_;
    QComboBox* align_;
    QDoubleSpinBox* lineWidth_;
    QCheckBox* dashed_;
    QPlainTextEdit* text_;
    QComboBox* field_;
    LetterPagesView* preview_;
};

} // namespace corvexa::office
