// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/accessibility.h"
#include "toolkit/button.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/tableview.h"
#include "toolkit/textfield.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

QAccessibleInterface *face(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

void add(ui::View *into, ui::View *view, const QString &text = {})
{
    if (auto *label = qobject_cast<ui::Label *>(view))
        label->setText(text);
    if (auto *button = qobject_cast<ui::Button *>(view))
        button->setTitle(text);
    into->addSubview(view);
}

// One row, filled as a screen fills its rows; records the rows opened.
class Row final : public ui::TableViewDataSource, public ui::TableViewDelegate
{
public:
    std::function<void(ui::View *)> fill;
    QList<int> opened;

    int numberOfRowsInSection(ui::TableView *, int) override { return 1; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override
    {
        auto *cell = new ui::TableViewCell;
        fill(cell);
        return cell;
    }
    void didSelectRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
    {
        opened.append(path.row);
    }
};

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ui::View> m_screen;
    Row m_row;

    ui::TableViewCell *table(std::function<void(ui::View *)> fill)
    {
        auto *table = new ui::TableView(QRectF(0, 100, 320, 300));
        m_row.fill = std::move(fill);
        table->setDataSource(&m_row);
        table->setDelegate(&m_row);
        m_screen->addSubview(table);
        table->reloadData();
        return table->cellForRowAtIndexPath({0, 0});
    }

private Q_SLOTS:
    void init()
    {
        ui::Accessibility::install();
        m_screen = std::make_unique<ui::View>(QRectF(0, 0, 320, 568));
        m_screen->show();
    }
    void cleanup() { m_screen.reset(); }

    void names_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("clear button over a picture") << u"half-day"_s << u"预约 8"_s;
        QTest::newRow("field named by its caption") << u"caption"_s << u"姓名"_s;
        QTest::newRow("row reads side by side texts left to right")
            << u"doctor"_s << u"何丽红 主任医师 第一医院"_s;
    }
    // The name read, and a way up to the screen through elements that each hold the one below.
    void names()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        ui::TableViewCell *cell = table([kind](ui::View *cell) {
            if (kind == u"half-day") {
                auto *picture = new ui::ImageView(QRectF(10, 5, 85, 30));
                picture->setImage(ui::Image::imageWithData(
                    u"<svg xmlns='http://www.w3.org/2000/svg' width='85' height='30'>"
                    "<title>预约</title><rect width='85' height='30'/></svg>"_s.toUtf8()));
                add(cell, picture);
                add(cell, new ui::Button(ui::ButtonType::Custom, QRectF(10, 5, 85, 30)), u"8"_s);
            } else if (kind == u"caption") {
                add(cell, new ui::Label(QRectF(10, 10, 40, 20)), u"姓名"_s);
                add(cell, new ui::TextField(QRectF(60, 10, 200, 20)));
            } else {
                add(cell, new ui::Label(QRectF(130, 10, 80, 20)), u"主任医师"_s);
                add(cell, new ui::Label(QRectF(75, 5, 50, 30)), u"何丽红"_s);
                add(cell, new ui::Label(QRectF(75, 40, 200, 20)), u"第一医院"_s);
            }
        });
        QWidget *element = cell->findChild<ui::Button *>();
        if (!element)
            element = cell->findChild<QLineEdit *>();
        QAccessibleInterface *up = face(element ? element : cell);
        QCOMPARE(up->text(QAccessible::Name), name);
        for (int depth = 0; up && up != face(m_screen.get()) && depth < 4; ++depth) {
            QAccessibleInterface *parent = up->parent();
            QVERIFY(parent && parent->indexOfChild(up) >= 0);
            up = parent;
        }
        QCOMPARE(up, face(m_screen.get()));
    }

    // Containers and pictures that only decorate are passed over; a row reads its texts as
    // its name, shows only its controls, and opens as a tap opens it.
    void treeHoldsOnlyElements()
    {
        auto *box = new ui::View(QRectF(0, 0, 320, 100));
        m_screen->addSubview(box);
        add(box, new ui::ImageView(QRectF(0, 0, 20, 20)));
        add(box, new ui::Label(QRectF(0, 30, 100, 20)), u"标题"_s);
        table([](ui::View *cell) {
            add(cell, new ui::Label(QRectF(10, 10, 40, 20)), u"姓名"_s);
            add(cell, new ui::Button(ui::ButtonType::RoundedRect, QRectF(100, 5, 60, 30)),
                u"确定"_s);
        });
        QAccessibleInterface *screen = face(m_screen.get());
        QCOMPARE(screen->childCount(), 2);
        QCOMPARE(screen->child(0)->text(QAccessible::Name), u"标题"_s);
        QCOMPARE(screen->child(1)->role(), QAccessible::List);
        QAccessibleInterface *row = screen->child(1)->child(0);
        QCOMPARE(row->text(QAccessible::Name), u"姓名"_s);
        QCOMPARE(row->childCount(), 1);
        QCOMPARE(row->child(0)->text(QAccessible::Name), u"确定"_s);
        QCOMPARE(row->child(0)->childCount(), 0);
        row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_row.opened, QList<int>{0});
    }

    // Not even the length of a secret is read out.
    void secureFieldSaysSoAndKeepsItsContent()
    {
        auto *field = new ui::TextField(QRectF(0, 0, 200, 30));
        field->setPlaceholder(u"密码"_s);
        field->setSecureTextEntry(true);
        field->setText(u"secret"_s);
        m_screen->addSubview(field);
        QAccessibleInterface *editor = face(field->lineEdit());
        QVERIFY(editor->state().passwordEdit);
        QCOMPARE(editor->text(QAccessible::Name), u"密码"_s);
        QCOMPARE(editor->text(QAccessible::Value), QString());
        QCOMPARE(editor->textInterface()->characterCount(), 0);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
