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

  QTest::newRow("x11 answers") << ""
                               << ":14"
                               << "" << true << false << "x:14"
                               << "";
  QTest::newRow("x11 silent") << ""
                              << ":99"
                              << "" << false << false << "x:99"
                              << "cannot connect to display \":99\"";
  QTest::newRow("named in Bulgarian") << ""
                                      << ":99"
                                      << "" << false << false << "x:99"
                                      << "няма връзка с графичния дисплей „:99“";
  QTest::newRow("nothing set") << ""
                               << ""
                               << "" << true << true << ""
                               << "no display is set (DISPLAY and WAYLAND_DISPLAY are empty)";
  QTest::newRow("wayland socket in runtime dir")
      << ""
      << ""
      << "wayland-1" << false << true << "w/run/user/7/wayland-1"
      << "";
  QTest::newRow("wayland absolute path") << ""
                                         << ""
                                         << "/tmp/w.sock" << false << true << "w/tmp/w.sock"
                                         << "";
  QTest::newRow("wayland silent, x11 answers")
      << ""
      << ":0"
      << "wayland-0" << true << false << "w/run/user/7/wayland-0 x:0"
      << "";
  QTest::newRow("both silent, both named")
      << ""
      << ":0"
      << "wayland-0" << false << false << "w/run/user/7/wayland-0 x:0"
      << "\"wayland-0\", \":0\"";
  QTest::newRow("xcb only ignores wayland") << "xcb"
                                            << ":0"
                                            << "wayland-0" << false << true << "x:0"
                                            << "\":0\"";
  QTest::newRow("wayland only ignores x11") << "wayland"
                                            << ":0"
                                            << "" << true << false << ""
                                            << "no display is set";
  QTest::newRow("list with options") << "wayland-egl;xcb:nograb"
                                     << ":5"
                                     << "" << true << false << "x:5"
                                     << "";
  QTest::newRow("offscreen needs none") << "offscreen"
                                        << ""
                                        << "" << false << false << ""
                                        << "";
  QTest::newRow("vnc in a list needs none") << "xcb;vnc"
                                            << ":99"
                                            << "" << false << false << ""
                                            << "";
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
  const DisplayProbes probes{[&](const QString& name) {
                               asked.append(QStringLiteral("x") + name);
                               return x11Answers;
                             },
                             [&](const QString& path) {
                               asked.append(QStringLiteral("w") + path);
                               return waylandAnswers;
                             }};
  const auto missing =
      MissingDisplayMessage({platform, display, wayland, QStringLiteral("/run/user/7")}, probes);
  QCOMPARE(asked.join(u' '), probed);
  QCOMPARE(missing.has_value(), !message.isEmpty());
  if (missing) QVERIFY2(missing->contains(message), qPrintable(*missing));
}

void TestDisplayCheck::knowsPlatforms_data() {
  QTest::addColumn<QString>("platform");
  QTest::addColumn<QString>("message");  // a part of the message; "" when Qt can load it

  QTest::newRow("Qt's default") << ""
                                << "";
  QTest::newRow("xcb") << "xcb"
                       << "";
  QTest::newRow("names in any case") << "OffScreen"
                                     << "";
  QTest::newRow("one known in a list") << "bogus;offscreen:fontengine=freetype"
                                       << "";
  QTest::newRow("unknown") << "bogus"
                           << "verodazava: непозната графична платформа „bogus“; налични са: ";
  QTest::newRow("unknown, in English") << "bogus:size=3"
                                       << "verodazava: unknown Qt platform \"bogus\"; available: ";
  QTest::newRow("every name of a list unknown") << "bogus;wrong"
                                                << "„bogus;wrong“";
  QTest::newRow("known ones listed") << "bogus"
                                     << "offscreen, ";
}

void TestDisplayCheck::knowsPlatforms() {
  QFETCH(QString, platform);
  QFETCH(QString, message);
  const auto unknown =
      UnknownPlatformMessage(platform, AvailablePlatforms(PlatformPluginFolders(QString())));
  QCOMPARE(unknown.has_value(), !message.isEmpty());
  if (unknown) QVERIFY2(unknown->contains(message), qPrintable(*unknown));
}

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "test_displaycheck.moc"
