// uiform.cpp: reads a Designer file (.ui) into widgets, the way Qt's form
// loader (QUiLoader) does for the widgets and properties panels use. The
// layer reads its panels itself: Qt's loader library pulls Qt's OpenGL
// libraries in with it, and loading and relocating the three of them at
// every start cost milliseconds and most of a megabyte, for a few dozen
// plain widgets.
//
// Exports (ui/qt/uiform.h): ReadForm.
//
// What is read: the first <widget> of <ui>, recursively; a widget's
// <property> elements in order, each a <string>, <number>, <bool>, <enum>,
// <set>, <rect>, <size>, <font>, <palette>, <iconset> or <pixmap>; every
// other element (layouts, actions, resources, connections) is skipped, as
// is a property of another kind or naming an enumeration its widget lacks.
// Property values are what Qt's loader makes of them: enumeration keys are
// looked up in the widget's own property, a property the class does not
// declare (stdset="0") becomes a dynamic one, the root widget takes only the
// size of its geometry. Pictures (<pixmap>) are read once the whole tree is
// built, with the format their file name gives: Qt's format detection would
// load every image-format plugin to ask it about the file, although panels
// carry PNG files that Qt reads without plugins. Icons (<iconset>) are
// added by file, so that Qt reads them (and their "@2x" forms) when drawn.
//
// No module state.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <QXmlStreamReader>

#include <vector>

#include "ui/qt/uiform.h"

namespace uirt {

namespace {

// A picture to set once the tree is built.
struct Picture {
    QPointer<QWidget> widget;
    QByteArray property;
    QString path;
};

// What one file's reading carries along.
struct Reading {
    QXmlStreamReader x;
    QDir folder;
    std::vector<Picture> pictures;
};

// A new widget of the Designer class `cls` under `parent`; null for a
// class this reader does not make.
QWidget *MakeWidget(QStringView cls, QWidget *parent) {
    if (cls == u"QWidget") return new QWidget(parent);
    if (cls == u"QPushButton") return new QPushButton(parent);
    if (cls == u"QLabel") return new QLabel(parent);
    if (cls == u"QComboBox") return new QComboBox(parent);
    if (cls == u"QFrame") return new QFrame(parent);
    if (cls == u"QPlainTextEdit") return new QPlainTextEdit(parent);
    if (cls == u"QLineEdit") return new QLineEdit(parent);
    if (cls == u"QSpinBox") return new QSpinBox(parent);
    if (cls == u"QCheckBox") return new QCheckBox(parent);
    return nullptr;
}

// The integer text of the current element; 0 when it is none.
int ReadInt(QXmlStreamReader &x) { return x.readElementText().trimmed().toInt(); }

// <rect> or <size>: its x, y, width and height children (missing ones 0).
QRect ReadRect(QXmlStreamReader &x) {
    QRect r;
    while (x.readNextStartElement()) {
        const QStringView n = x.name();
        if (n == u"x") r.moveLeft(ReadInt(x));
        else if (n == u"y") r.moveTop(ReadInt(x));
        else if (n == u"width") r.setWidth(ReadInt(x));
        else if (n == u"height") r.setHeight(ReadInt(x));
        else x.skipCurrentElement();
    }
    return r;
}

bool ReadBool(QXmlStreamReader &x) { return x.readElementText().trimmed() == u"true"; }

// <font>: a font that sets only what the element gives, so that the rest
// still comes from the widget's parent.
QFont ReadFont(QXmlStreamReader &x) {
    QFont f;
    while (x.readNextStartElement()) {
        const QStringView n = x.name();
        if (n == u"family") {
            const QString family = x.readElementText();
            if (!family.isEmpty()) f.setFamily(family);
        } else if (n == u"pointsize") {
            const int size = ReadInt(x);
            if (size > 0) f.setPointSize(size);
        } else if (n == u"bold") {
            f.setBold(ReadBool(x));
        } else if (n == u"italic") {
            f.setItalic(ReadBool(x));
        } else if (n == u"underline") {
            f.setUnderline(ReadBool(x));
        } else if (n == u"strikeout") {
            f.setStrikeOut(ReadBool(x));
        } else {
            x.skipCurrentElement();
        }
    }
    return f;
}

// <color>: its red, green, blue children and alpha attribute (255 when absent).
QColor ReadColor(QXmlStreamReader &x) {
    bool ok = false;
    const int alpha = x.attributes().value(QLatin1String("alpha")).toInt(&ok);
    int rgb[3] = {0, 0, 0};
    while (x.readNextStartElement()) {
        const QStringView n = x.name();
        if (n == u"red") rgb[0] = ReadInt(x);
        else if (n == u"green") rgb[1] = ReadInt(x);
        else if (n == u"blue") rgb[2] = ReadInt(x);
        else x.skipCurrentElement();
    }
    QColor c(rgb[0], rgb[1], rgb[2]);
    if (ok) c.setAlpha(alpha);
    return c;
}

// <brush>: a brush of its style (solid when absent) and colour.
QBrush ReadBrush(QXmlStreamReader &x) {
    Qt::BrushStyle style = Qt::SolidPattern;
    const QStringView named = x.attributes().value(QLatin1String("brushstyle"));
    if (!named.isEmpty()) {
        bool ok = false;
        const int v = QMetaEnum::fromType<Qt::BrushStyle>().keyToValue(named.toLatin1().constData(), &ok);
        if (ok) style = static_cast<Qt::BrushStyle>(v);
    }
    QBrush b;
    while (x.readNextStartElement()) {
        if (x.name() == u"color") b.setColor(ReadColor(x));
        else x.skipCurrentElement();
    }
    b.setStyle(style);
    return b;
}

// <palette>: the application's palette with the roles the element names
// set in its active, inactive and disabled groups.
QPalette ReadPalette(QXmlStreamReader &x) {
    QPalette pal;
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    while (x.readNextStartElement()) {
        const QStringView n = x.name();
        QPalette::ColorGroup group;
        if (n == u"active") group = QPalette::Active;
        else if (n == u"inactive") group = QPalette::Inactive;
        else if (n == u"disabled") group = QPalette::Disabled;
        else { x.skipCurrentElement(); continue; }
        while (x.readNextStartElement()) {
            if (x.name() != u"colorrole") { x.skipCurrentElement(); continue; }
            bool ok = false;
            const int role = roles.keyToValue(x.attributes().value(QLatin1String("role")).toLatin1().constData(), &ok);
            QBrush brush;
            bool seen = false;
            while (x.readNextStartElement()) {
                if (x.name() == u"brush") { brush = ReadBrush(x); seen = true; }
                else x.skipCurrentElement();
            }
            if (ok && seen) pal.setBrush(group, static_cast<QPalette::ColorRole>(role), brush);
        }
    }
    pal.setCurrentColorGroup(QPalette::Active);
    return pal;
}

// <iconset>: an icon of its normal-off file (also given as the element's
// own text), the other states' files added likewise.
QIcon ReadIcon(Reading &r) {
    QXmlStreamReader &x = r.x;
    QIcon icon;
    auto add = [&](const QString &path, QIcon::Mode mode, QIcon::State state) {
        const QString p = path.trimmed();
        if (!p.isEmpty()) icon.addFile(QFileInfo(r.folder, p).absoluteFilePath(), QSize(), mode, state);
    };
    QString own;
    bool states = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement()) break;
        if (x.isCharacters()) { own += x.text(); continue; }
        if (!x.isStartElement()) continue;
        states = true;
        const QStringView n = x.name();
        const QString path = x.readElementText();
        if (n == u"normaloff") add(path, QIcon::Normal, QIcon::Off);
        else if (n == u"normalon") add(path, QIcon::Normal, QIcon::On);
        else if (n == u"disabledoff") add(path, QIcon::Disabled, QIcon::Off);
        else if (n == u"disabledon") add(path, QIcon::Disabled, QIcon::On);
        else if (n == u"activeoff") add(path, QIcon::Active, QIcon::Off);
        else if (n == u"activeon") add(path, QIcon::Active, QIcon::On);
        else if (n == u"selectedoff") add(path, QIcon::Selected, QIcon::Off);
        else if (n == u"selectedon") add(path, QIcon::Selected, QIcon::On);
    }
    if (!states) add(own, QIcon::Normal, QIcon::Off);
    return icon;
}

// The value of an <enum> or <set> for property `name` of `w`, looked up in
// the property's own enumeration; invalid when `w` has no such property or
// the key is not one of it.
QVariant EnumValue(QWidget *w, const QByteArray &name, const QString &keys, bool set) {
    const QMetaObject *meta = w->metaObject();
    const int index = meta->indexOfProperty(name.constData());
    if (index < 0) return {};
    const QMetaEnum e = meta->property(index).enumerator();
    if (!e.isValid()) return {};
    bool ok = false;
    const QByteArray k = keys.trimmed().toLatin1();
    const int v = set ? e.keysToValue(k.constData(), &ok) : e.keyToValue(k.constData(), &ok);
    return ok ? QVariant(v) : QVariant();
}

// Reads the <property> element `x` stands on and sets it on `w`.
void ReadProperty(Reading &r, QWidget *w, bool root, QPoint *rootPos) {
    QXmlStreamReader &x = r.x;
    const QByteArray name = x.attributes().value(QLatin1String("name")).toLatin1();
    QVariant value;
    bool isGeometry = false;
    while (x.readNextStartElement()) {
        if (!value.isNull() || isGeometry) { x.skipCurrentElement(); continue; }   // one value a property
        const QStringView kind = x.name();
        if (kind == u"string") {
            value = x.readElementText();
        } else if (kind == u"number") {
            value = ReadInt(x);
        } else if (kind == u"bool") {
            value = ReadBool(x);
        } else if (kind == u"enum" || kind == u"set") {
            const bool set = kind == u"set";
            value = EnumValue(w, name, x.readElementText(), set);
        } else if (kind == u"rect") {
            const QRect g = ReadRect(x);
            if (name == "geometry" && root) {
                // As Qt's loader: the root takes only the size; the layer
                // places the panel itself.
                *rootPos = g.topLeft();
                w->resize(g.size());
                isGeometry = true;
            } else {
                value = g;
            }
        } else if (kind == u"size") {
            value = ReadRect(x).size();
        } else if (kind == u"font") {
            value = ReadFont(x);
        } else if (kind == u"palette") {
            value = ReadPalette(x);
        } else if (kind == u"iconset") {
            value = ReadIcon(r);
        } else if (kind == u"pixmap") {
            r.pictures.push_back({w, name, x.readElementText().trimmed()});
            isGeometry = true;   // set later, nothing now
        } else {
            x.skipCurrentElement();
        }
    }
    if (value.isValid() && !name.isEmpty()) w->setProperty(name.constData(), value);
}

// Reads the <widget> element `x` stands on, with its children, under
// `parent`. Returns the widget; null when its class is not one this reader
// makes (the element is then skipped whole).
QWidget *ReadWidget(Reading &r, QWidget *parent, bool root, QPoint *rootPos) {
    QXmlStreamReader &x = r.x;
    QWidget *w = MakeWidget(x.attributes().value(QLatin1String("class")), parent);
    if (!w) {
        x.skipCurrentElement();
        return nullptr;
    }
    w->setObjectName(x.attributes().value(QLatin1String("name")).toString());
    while (x.readNextStartElement()) {
        const QStringView n = x.name();
        if (n == u"property") ReadProperty(r, w, root, rootPos);
        else if (n == u"widget") ReadWidget(r, w, false, rootPos);
        else x.skipCurrentElement();
    }
    return w;
}

// Sets the pictures gathered while reading, each read with the format its
// file name gives (a "@2x" name gives a picture of twice the density).
void PutPictures(const Reading &r) {
    for (const Picture &pic : r.pictures) {
        if (!pic.widget) continue;
        const QString path = QFileInfo(r.folder, pic.path).absoluteFilePath();
        QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
        reader.setAutoDetectImageFormat(false);
        QImage image = reader.read();
        if (image.isNull()) image = QImage(path);   // another format: as Qt's loader does
        pic.widget->setProperty(pic.property.constData(), QPixmap::fromImage(std::move(image)));
    }
}

}  // namespace

QWidget *ReadForm(const QByteArray &xml, const QString &folder, QWidget *parent, QPoint *rootPos) {
    Reading r{QXmlStreamReader(xml), QDir(folder), {}};
    *rootPos = QPoint();
    QXmlStreamReader &x = r.x;
    if (!x.readNextStartElement() || x.name() != u"ui") return nullptr;
    QWidget *root = nullptr;
    while (x.readNextStartElement()) {
        if (x.name() == u"widget" && !root) {
            root = ReadWidget(r, parent, true, rootPos);
            if (!root) return nullptr;
        } else {
            x.skipCurrentElement();
        }
    }
    if (x.hasError() || !root) {
        delete root;
        return nullptr;
    }
    PutPictures(r);
    return root;
}

}  // namespace uirt
