#include "tests/TestMain.h"

#include "core/GradientSettings.h"
#include "widgets/Prompts.h"

class TestGradientSettings : public QObject
{
  Q_OBJECT

private slots:
  void defaultGradient()
  {
    const GradientSettings g = defaultGradientSettings();
    QCOMPARE(int(g.type), 0);
    QCOMPARE(int(g.spread), 0);
    QCOMPARE(g.stops.size(), std::size_t(2));
    QCOMPARE(g.stops[0].position, 0.0);
    QCOMPARE(g.stops[0].color, QColor(0, 0, 0, 255));
    QCOMPARE(g.stops[1].position, 1.0);
    QCOMPARE(g.stops[1].color, QColor(255, 255, 255, 255));
    QCOMPARE(g.geometry, (std::vector<double>{0.0, 100 / 199.0, 200 / 199.0, 100 / 199.0}));
  }

  // Until the gradient editor exists, asking for a gradient cancels and keeps
  // the caller's gradient.
  void unscriptedGradientPromptCancels()
  {
    resetPrompts();
    GradientSettings g = defaultGradientSettings();
    const GradientSettings before = g;
    QVERIFY(!prompts().gradient(nullptr, g, QColor(Qt::red), "Dégradé"));
    QCOMPARE(g.geometry, before.geometry);
    QCOMPARE(g.stops.size(), before.stops.size());
    QCOMPARE(g.stops[1].color, before.stops[1].color);
  }
};

SK_TEST_MAIN(TestGradientSettings)
#include "test_gradientsettings.moc"
