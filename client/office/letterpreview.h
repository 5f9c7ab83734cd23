#pragma once
// The letters' preview: every letter as a page, with zoom, page set-up, print
// and save as PDF. Failures are reported through `failed`; the caller shows them.
#include "fileservice.h"
#include "lettertemplate.h"

#include <QPrinter>
#include <QWidget>

class QComboBox;
class QLabel;
class QScrollArea;

namespace corvexa::office {

// Pages drawn one below the other at a zoom factor (1.0: actual size on screen).
class LetterPagesView : public QWidget {
    Q_OBJECT
public:
    explicit LetterPagesView(QWidget* parent = nullptr);
    void setLetters(const LetterTemplate& letter, const QList<QVariantHash>& records);
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // A box in millimetres marked on every page (the designer's chosen item); null: none.
    void setHighlight(const QRectF& box);
    int pageCount() const { return int(records_.size()); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF pageSizePx() const;
    LetterTemplate letter_;
    QList<QVariantHash> records_;
    double zoom_ = 1.0;
    QRectF highlight_;
};

class LetterPreview : public QWidget {
    Q_OBJECT
public:
    explicit LetterPreview(FileService* files, QWidget* parent = nullptr);
    void setLetters(const LetterTemplate& letter, const QList<QVariantHash>& records);

    int pageCount() const { return pages_->pageCount(); }
    double zoom() const { return pages_->zoom(); }
    void setZoom(double zoom);
    void fitWidth();

    // Asks for a file name through the file service; false when cancelled or failed.
    bool saveAsPdf();
    bool print();     // through the print dialog
    void pageSetup(); // paper, orientation; the margins shift the letter on the paper
    QPrinter& printer() { return printer_; }

signals:
    void failed(const QString& message);

private:
    QPointF printOffset() const;

    FileService* files_;
    LetterTemplate letter_;
    QList<QVariantHash> records_;
    QPrinter printer_;
    LetterPagesView* pages_;
    QScrollArea* scroll_;
    QComboBox* zoomBox_;
    QLabel* pageLabel_;
};

// Values that look like a real letter, for the designer's preview.
QVariantHash sampleLetterRecord();

} // namespace corvexa::office
