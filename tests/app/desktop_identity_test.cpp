// The program as the desktop sees it: the desktop-entry name it announces
// must be the one the build installs, and every window must carry an icon
// that actually renders at the sizes panels and title bars ask for.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>

#include "app/desktop_identity.h"

class DesktopIdentityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ApplyDesktopIdentity(); }

  // The window manager and Wayland find the desktop entry by this name; the
  // entry in turn names the icon by the same id.
  void desktopFileNameIsTheInstalledEntry() {
    QCOMPARE(QGuiApplication::desktopFileName(), DesktopId());
    QFile entry(QStringLiteral(PELMORA_DESKTOP_ENTRY));
    QVERIFY2(entry.open(QIODevice::ReadOnly), qPrintable(entry.fileName()));
    QVERIFY2(
        entry.fileName().endsWith(QStringLiteral("/") + DesktopId() + QStringLiteral(".desktop")),
        qPrintable(entry.fileName()));
    const QList<QByteArray> lines = entry.readAll().split('\n');
    QVERIFY(lines.contains("Icon=" + DesktopId().toUtf8()));
    QVERIFY(lines.contains("Exec=pelmora %f"));
  }

  // Rendering needs the SVG plug-ins at run time; a missing plug-in gives a
  // null or empty pixmap. The drawing has rounded corners (transparent) and
  // an opaque body (anti-aliasing leaves a trace in the corner pixel).
  void iconRendersAtEverySize() {
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    for (int size : {16, 24, 32, 48, 256}) {
      const QImage image = icon.pixmap(size, size).toImage();
      QCOMPARE(image.size(), QSize(size, size));
      QVERIFY2(qAlpha(image.pixel(0, 0)) < 32, "the rounded corner is transparent");
      QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
  }

  void everyWindowCarriesTheIcon() {
    QWidget window;
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
  }
};

QTEST_MAIN(DesktopIdentityTest)
#include "desktop_identity_test.moc"
