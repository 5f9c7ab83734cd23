#include "frames/appicons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace corvexa::client {

QIcon appIcon(const char* name) {
    static QHash<QByteArray, QIcon> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd()) return *it;
    const QString path = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
    QIcon icon;
    if (QFile::exists(path)) {
        QSvgRenderer renderer(path);
        for (int size : {16, 20, 24, 32, 48}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            renderer.render(&painter);
            painter.end();
            icon.addPixmap(pixmap);
        }
    }
    cache.insert(name, icon);
    return icon;
}

QPixmap appPicture(const char* name, QSize size) {
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)));
    if (!renderer.isValid()) return {};
    if (size.isEmpty()) size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace corvexa::client
