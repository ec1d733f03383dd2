// The followers: made once when first opened, deleted together, the last registered first.
#include "ui/followers.h"

#include <QMenu>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

using tv::ui::Followers;

namespace {

std::vector<std::string>* deletions = nullptr;

class Follower : public QWidget {
 public:
  explicit Follower(std::string name) : name_(std::move(name)) {}
  ~Follower() override {
    if (deletions) deletions->push_back(name_);
  }
  void ShowWindow() { ++shown; }
  int shown = 0;

 private:
  std::string name_;
};
class First : public Follower {
 public:
  First() : Follower("first") {}
};
class Second : public Follower {
 public:
  Second() : Follower("second") {}
};

}  // namespace

class FollowersTest : public QObject {
  Q_OBJECT

 private slots:
  void MadeOnceOnFirstOpening() {
    QMenu menu;
    Followers followers;
    int made = 0, opened = 0;
    QAction* first = followers.Add<First>(menu.addAction(QStringLiteral("1")), [&made] {
      ++made;
      return new First;
    });
    QAction* second = followers.Add<Second>(
        menu.addAction(QStringLiteral("2")), [] { return new Second; },
        [&opened](Second& w) { opened += 1 + w.shown; });
    QVERIFY(followers.Find<First>() == nullptr);
    first->trigger();
    first->trigger();
    QCOMPARE(made, 1);
    QCOMPARE(followers.Find<First>()->shown, 2);
    // Its own opening instead of ShowWindow.
    second->trigger();
    QCOMPARE(opened, 1);
    QCOMPARE(followers.Find<Second>()->shown, 0);
    // Asked for, a window is made without being opened.
    Followers others;
    others.Add<First>(menu.addAction(QStringLiteral("3")), [] { return new First; });
    QVERIFY(others.Get<First>() != nullptr);
    QCOMPARE(others.Get<First>()->shown, 0);
    QVERIFY(others.Get<Second>() == nullptr);
  }

  void DeletedTogetherLastFirst() {
    std::vector<std::string> deleted;
    deletions = &deleted;
    QMenu menu;
    {
      Followers followers;
      QAction* first =
          followers.Add<First>(menu.addAction(QStringLiteral("1")), [] { return new First; });
      QAction* second =
          followers.Add<Second>(menu.addAction(QStringLiteral("2")), [] { return new Second; });
      second->trigger();
      first->trigger();
      followers.DeleteAll();
      QCOMPARE(deleted, (std::vector<std::string>{"second", "first"}));
      QVERIFY(followers.Find<First>() == nullptr);
      // One closed by Qt beforehand is not deleted twice.
      first->trigger();
      delete followers.Find<First>();
      QCOMPARE(deleted.size(), std::size_t{3});
    }
    QCOMPARE(deleted.size(), std::size_t{3});
    deletions = nullptr;
  }
};

QTEST_MAIN(FollowersTest)
#include "followers_test.moc"
