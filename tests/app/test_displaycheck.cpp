#include <QRegularExpression>
#include <QTest>

#include "displaycheck.h"

// Which display the program probes before it creates its window, and what it says when
// none answers. The probes are scripted; the real ones are tried by test_commandline.
class TestDisplayCheck : public QObject {
  Q_OBJECT
 private slots:
  void decides_data();
  void decides();
  void knowsPlatforms_data();
  void knowsPlatforms();
};

void TestDisplayCheck::decides_data() {
  QTest::addColumn<QString>("platform");
  QTest::addColumn<QString>("display");
  QTest::addColumn<QString>("wayland");
  QTest::addColumn<bool>("x11Answers");
  QTest::addColumn<bool>("waylandAnswers");
  QTest::addColumn<QString>("probed");   // what was asked, in order
  QTest::addColumn<QString>("message");  // a part of the message; "" when the window may open

  const auto Row = [](const char* name, const char* platform, const char* display,
                      const char* wayland, bool x11, bool wl, const char* probed,
                      const char* message) {
    QTest::newRow(name) << QString(platform) << QString(display) << QString(wayland) << x11 << wl
                        << QString(probed) << QString(message);
  };
  Row("x11 answers", "", ":14", "", true, false, "x:14", "");
  Row("x11 silent, named in both languages", "", ":99", "", false, false, "x:99",
      "няма връзка с графичния дисплей „:99“.\nverodazava: cannot connect to display \":99\"");
  Row("nothing set", "", "", "", true, true, "",
      "no display is set (DISPLAY and WAYLAND_DISPLAY are empty)");
  Row("wayland socket in runtime dir", "", "", "wayland-1", false, true, "w/run/user/7/wayland-1",
      "");
  Row("wayland absolute path", "", "", "/tmp/w.sock", false, true, "w/tmp/w.sock", "");
  Row("wayland silent, x11 answers", "", ":0", "wayland-0", true, false,
      "w/run/user/7/wayland-0 x:0", "");
  Row("both silent, both named", "", ":0", "wayland-0", false, false, "w/run/user/7/wayland-0 x:0",
      "\"wayland-0\", \":0\"");
  Row("xcb only ignores wayland", "xcb", ":0", "wayland-0", false, true, "x:0", "\":0\"");
  Row("wayland only ignores x11", "wayland", ":0", "", true, false, "", "no display is set");
  Row("list with options", "wayland-egl;xcb:nograb", ":5", "", true, false, "x:5", "");
  Row("offscreen needs none", "offscreen", "", "", false, false, "", "");
  Row("vnc in a list needs none", "xcb;vnc", ":99", "", false, false, "", "");
}

void TestDisplayCheck::decides() {
  QFETCH(QString, platform);
  QFETCH(QString, display);
  QFETCH(QString, wayland);
  QFETCH(bool, x11Answers);
  QFETCH(bool, waylandAnswers);
  QFETCH(QString, probed);
  QFETCH(QString, message);

  QStringList asked;
  const auto Probe = [&asked](const char* letter, bool answers) {
    return [&asked, letter, answers](const QString& name) {
      asked << letter + name;
      return answers;
    };
  };
  const DisplayProbes probes{Probe("x", x11Answers), Probe("w", waylandAnswers)};
  const auto missing =
      MissingDisplayMessage({platform, display, wayland, QStringLiteral("/run/user/7")}, probes);
  QCOMPARE(asked.join(u' '), probed);
  QCOMPARE(missing.has_value(), !message.isEmpty());
  if (missing) QVERIFY2(missing->contains(message), qPrintable(*missing));
}

void TestDisplayCheck::knowsPlatforms_data() {
  QTest::addColumn<QString>("platform");
  // A pattern the message must match; "" when Qt can load the platform.
  QTest::addColumn<QString>("message");

  const auto Row = [](const char* name, const char* platform, const char* message) {
    QTest::newRow(name) << QString(platform) << QString(message);
  };
  Row("Qt's default", "", "");
  Row("xcb", "xcb", "");
  Row("names in any case", "OffScreen", "");
  Row("one known in a list", "bogus;offscreen:fontengine=freetype", "");
  Row("unknown, the known ones listed", "bogus",
      "^verodazava: непозната графична платформа „bogus“; налични са: .*offscreen, ");
  Row("unknown, in English", "bogus:size=3",
      "\nverodazava: unknown Qt platform \"bogus\"; available: ");
  Row("every name of a list unknown", "bogus;wrong", "„bogus;wrong“");
}

void TestDisplayCheck::knowsPlatforms() {
  QFETCH(QString, platform);
  QFETCH(QString, message);
  const auto unknown =
      UnknownPlatformMessage(platform, AvailablePlatforms(PlatformPluginFolders(QString())));
  QCOMPARE(unknown.has_value(), !message.isEmpty());
  if (unknown) QVERIFY2(unknown->contains(QRegularExpression(message)), qPrintable(*unknown));
}

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "test_displaycheck.moc"
