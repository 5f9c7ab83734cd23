#pragma once
// The splash window: the program's picture with its date and download link.
// The About box is the same window, shown modally with the credit line.
#include <QDialog>

class QLabel;

namespace corvexa::client {

class TFormSplash : public QDialog {
    Q_OBJECT
public:
    explicit TFormSplash(bool about = false, QWidget* parent = nullptr);
    QLabel* credit() const { return m_credit; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* m_picture;
    QLabel* m_credit;
};

} // namespace corvexa::client
