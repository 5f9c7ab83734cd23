// The message boxes: titles, buttons, icons and default buttons of the real
// ones, and the scripted service that tests use.
#include "data/services.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace corvexa::client;

class TestMessageService : public QObject {
    Q_OBJECT
private slots:
    void messageBoxes() {
        ScriptedMessageService scripted;
        MessageService* previous = installMessageService(&scripted);
        scripted.script({MessageAnswer::No});
        QCOMPARE(AskDelete(QStringLiteral("删除吗？")), MessageAnswer::No);
        QCOMPARE(AskConfirm(QStringLiteral("继续吗？")), MessageAnswer::Cancel); // script used up
        QCOMPARE(ShowTransError(QStringLiteral("失败")), MessageAnswer::Ok);
        ShowError(QStringLiteral("e"));
        ShowInfo(QStringLiteral("i"));
        ShowWarning(QStringLiteral("w"));
        QStringList titles;
        for (const auto& shown : scripted.shown())
            titles << shown.title;
        QCOMPARE(titles,
                 QStringList({"确认删除", "请确认选择", "事务处理错误", "系统错误", "系统提示", "系统警告"}));
        installMessageService(previous);
    }

    // The real boxes: titles, buttons, icons and the preselected button.
    void dialogBoxes_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("error") << int(MessageKind::Error) << "系统错误" << int(QMessageBox::Critical)
                               << int(QMessageBox::Ok);
        QTest::newRow("info") << int(MessageKind::Info) << "系统提示" << int(QMessageBox::Information)
                              << int(QMessageBox::Ok);
        QTest::newRow("warning") << int(MessageKind::Warning) << "系统警告" << int(QMessageBox::Warning)
                                 << int(QMessageBox::Ok);
        QTest::newRow("confirm") << int(MessageKind::Confirm) << "请确认选择" << int(QMessageBox::Question)
                                 << int(QMessageBox::Yes);
        QTest::newRow("delete") << int(MessageKind::Delete) << "确认删除" << int(QMessageBox::Question)
                                << int(QMessageBox::No);
    }
    void dialogBoxes() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(int, defaultButton);
        QString seenTitle;
        int seenIcon = -1, seenDefault = -1, buttons = 0;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                seenTitle = box->windowTitle();
                seenIcon = box->icon();
                seenDefault =
                    box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::Ok;
                buttons = int(box->buttons().size());
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        DialogMessageService dialogs;
        const MessageAnswer answer = dialogs.show(MessageKind(kind), QStringLiteral("文本"));
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenIcon, icon);
        QCOMPARE(seenDefault, defaultButton);
        const bool question = defaultButton != int(QMessageBox::Ok);
        QCOMPARE(buttons, question ? 3 : 1);
        QCOMPARE(answer, question ? MessageAnswer::Cancel : MessageAnswer::Ok);
    }
};

QTEST_MAIN(TestMessageService)
#include "tst_messageservice.moc"
