// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "toolkit/accessibility.h"
#include "toolkit/alertview.h"
#include "toolkit/button.h"
#include "toolkit/collectionview.h"
#include "toolkit/imageview.h"
#include "toolkit/label.h"
#include "toolkit/navigationbar.h"
#include "toolkit/navigationitem.h"
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

ui::Image picture(const QString &title)
{
    return ui::Image::imageWithData(u"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"80\" "
                                    "height=\"30\"><title>%1</title><rect width=\"80\" "
                                    "height=\"30\"/></svg>"_s.arg(title)
                                        .toUtf8());
}

ui::Label *label(ui::View *into, const QRectF &frame, const QString &text)
{
    auto *label = new ui::Label(frame);
    label->setText(text);
    into->addSubview(label);
    return label;
}

// One row of a list, or one entry of a grid, made as the screens make theirs.
class Rows final : public ui::TableViewDataSource,
                   public ui::TableViewDelegate,
                   public ui::CollectionViewDataSource,
                   public ui::CollectionViewDelegate
{
public:
    std::function<void(ui::View *)> fill;
    QList<int> selected;

    int numberOfRowsInSection(ui::TableView *, int) override { return 1; }
    ui::TableViewCell *cellForRowAtIndexPath(ui::TableView *, const ui::IndexPath &) override
    {
        auto *cell = new ui::TableViewCell;
        fill(cell);
        return cell;
    }
    void didSelectRowAtIndexPath(ui::TableView *, const ui::IndexPath &path) override
    {
        selected.append(path.row);
    }
    int numberOfItemsInSection(ui::CollectionView *, int) override { return 1; }
    ui::CollectionViewCell *cellForItemAtIndexPath(ui::CollectionView *,
                                                   const ui::IndexPath &) override
    {
        auto *cell = new ui::CollectionViewCell;
        fill(cell->contentView());
        return cell;
    }
    void didSelectItemAtIndexPath(ui::CollectionView *, const ui::IndexPath &path) override
    {
        selected.append(path.row);
    }
};

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ui::View> m_screen;
    Rows m_rows;

    // What a screen reader finds for a kind of view, built into the screen.
    QWidget *build(const QString &kind)
    {
        ui::View *screen = m_screen.get();
        if (kind == u"picture button" || kind == u"clear button over a picture") {
            auto *button = new ui::Button(ui::ButtonType::Custom, QRectF(10, 10, 85, 30));
            if (kind == u"picture button") {
                button->setBackgroundImage(picture(u"点击登录"_s));
            } else {
                auto *image = new ui::ImageView(QRectF(10, 10, 85, 30));
                image->setImage(picture(u"预约"_s));
                screen->addSubview(image);
                button->setTitle(u"8"_s);
            }
            screen->addSubview(button);
            return button;
        }
        if (kind == u"field by placeholder") {
            auto *field = new ui::TextField(QRectF(0, 0, 200, 30));
            field->setPlaceholder(u"帐户"_s);
            screen->addSubview(field);
            return field->lineEdit();
        }
        if (kind == u"navigation bar") {
            auto *bar = new ui::NavigationBar(QRectF(0, 0, 320, 44));
            auto *item = new ui::NavigationItem(bar);
            item->setTitle(u"登录"_s);
            bar->setItems({item});
            screen->addSubview(bar);
            return bar;
        }
        auto *table = new ui::TableView(QRectF(0, 0, 320, 400));
        m_rows.fill = [kind](ui::View *cell) {
            if (kind == u"field by caption") {
                label(cell, QRectF(10, 10, 40, 20), u"姓名"_s);
                cell->addSubview(new ui::TextField(QRectF(60, 10, 200, 20)));
                return;
            }
            // A doctor's row: the title sits beside the name, a little lower.
            label(cell, QRectF(130, 10, 80, 20), u"主任医师"_s);
            label(cell, QRectF(75, 5, 50, 30), u"何丽红"_s);
            label(cell, QRectF(75, 40, 200, 20), u"第一医院"_s);
        };
        table->setDataSource(&m_rows);
        table->setDelegate(&m_rows);
        screen->addSubview(table);
        table->reloadData();
        auto *cell = table->cellForRowAtIndexPath({0, 0});
        return kind == u"field by caption" ? static_cast<QWidget *>(cell->findChild<QLineEdit *>())
                                           : cell;
    }

private Q_SLOTS:
    void init()
    {
        ui::Accessibility::install();
        m_screen = std::make_unique<ui::View>(QRectF(0, 0, 320, 568));
        m_screen->show();
        m_rows.selected.clear();
    }
    void cleanup() { m_screen.reset(); }

    void namesAndRoles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("picture button")
            << u"picture button"_s << int(QAccessible::Button) << u"点击登录"_s;
        QTest::newRow("clear button over a picture")
            << u"clear button over a picture"_s << int(QAccessible::Button) << u"预约 8"_s;
        QTest::newRow("field by placeholder")
            << u"field by placeholder"_s << int(QAccessible::EditableText) << u"帐户"_s;
        QTest::newRow("field by caption")
            << u"field by caption"_s << int(QAccessible::EditableText) << u"姓名"_s;
        QTest::newRow("navigation bar")
            << u"navigation bar"_s << int(QAccessible::ToolBar) << u"登录"_s;
        QTest::newRow("row reads its texts in reading order")
            << u"doctor row"_s << int(QAccessible::ListItem) << u"何丽红 主任医师 第一医院"_s;
    }
    void namesAndRoles()
    {
        QFETCH(QString, kind);
        QFETCH(int, role);
        QFETCH(QString, name);
        QAccessibleInterface *element = face(build(kind));
        QCOMPARE(int(element->role()), role);
        QCOMPARE(element->text(QAccessible::Name), name);
        // It leads up to the screen, each element a child of the one above it.
        QAccessibleInterface *up = element;
        for (int depth = 0; up && up != face(m_screen.get()) && depth < 4; ++depth) {
            QAccessibleInterface *parent = up->parent();
            QVERIFY(parent && parent->indexOfChild(up) >= 0);
            up = parent;
        }
        QCOMPARE(up, face(m_screen.get()));
    }

    // Containers and pictures that only decorate are passed over; a row reads its texts as its
    // name and shows only its controls; a button shows nothing under it.
    void treeHoldsOnlyElements()
    {
        auto *box = new ui::View(QRectF(0, 0, 320, 100));
        m_screen->addSubview(box);
        box->addSubview(new ui::ImageView(QRectF(0, 0, 20, 20)));
        label(box, QRectF(0, 30, 100, 20), u"标题"_s);
        m_rows.fill = [](ui::View *cell) {
            label(cell, QRectF(10, 10, 40, 20), u"姓名"_s);
            auto *button = new ui::Button(ui::ButtonType::RoundedRect, QRectF(100, 5, 60, 30));
            button->setTitle(u"确定"_s);
            cell->addSubview(button);
        };
        auto *table = new ui::TableView(QRectF(0, 100, 320, 300));
        table->setDataSource(&m_rows);
        m_screen->addSubview(table);
        table->reloadData();
        QAccessibleInterface *screen = face(m_screen.get());
        QCOMPARE(screen->childCount(), 2);
        QCOMPARE(screen->child(0)->text(QAccessible::Name), u"标题"_s);
        QAccessibleInterface *row = screen->child(1)->child(0);
        QCOMPARE(row->text(QAccessible::Name), u"姓名"_s);
        QCOMPARE(row->childCount(), 1);
        QCOMPARE(row->child(0)->text(QAccessible::Name), u"确定"_s);
        QCOMPARE(row->child(0)->childCount(), 0);
    }

    void secureFieldSaysSoAndKeepsItsContent()
    {
        auto *field = new ui::TextField(QRectF(0, 0, 200, 30));
        field->setPlaceholder(u"密码"_s);
        field->setSecureTextEntry(true);
        field->setText(u"secret"_s);
        m_screen->addSubview(field);
        QAccessibleInterface *editor = face(field->lineEdit());
        QVERIFY(editor->state().passwordEdit);
        QCOMPARE(editor->text(QAccessible::Value), QString());
        QCOMPARE(editor->textInterface()->characterCount(), 0);
        QCOMPARE(editor->textInterface()->text(0, 6), QString());
    }

    // The press action does what a tap does.
    void pressAction_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::newRow("list row") << false;
        QTest::newRow("grid entry") << true;
    }
    void pressAction()
    {
        QFETCH(bool, grid);
        m_rows.fill = [](ui::View *cell) { label(cell, QRectF(0, 0, 60, 20), u"医生查询"_s); };
        ui::ScrollView *list =
            grid ? static_cast<ui::ScrollView *>(new ui::CollectionView(QRectF(0, 0, 320, 300), {}))
                 : new ui::TableView(QRectF(0, 0, 320, 300));
        if (auto *table = qobject_cast<ui::TableView *>(list)) {
            table->setDataSource(&m_rows);
            table->setDelegate(&m_rows);
        } else {
            auto *collection = static_cast<ui::CollectionView *>(list);
            collection->setDataSource(&m_rows);
            collection->setDelegate(&m_rows);
        }
        m_screen->addSubview(list);
        QTRY_COMPARE(face(list)->childCount(), 1);
        QAccessibleInterface *entry = face(list)->child(0);
        QCOMPARE(entry->text(QAccessible::Name), u"医生查询"_s);
        QCOMPARE(entry->actionInterface()->actionNames().value(0),
                 QAccessibleActionInterface::pressAction());
        entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_rows.selected, QList<int>{0});
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
