#include "app/PageBuilder.h"

#include "app/Pictures.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/ErrorRelay.h"
#include "widgets/LinkLabel.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"
#include "widgets/ShapeFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

namespace {

// Grows labels to their text's natural size when they are first shown, not when built: the
// text is measured only for the page in front, which keeps start-up quick.
class TNaturalSizer : public QObject
{
public:
    using QObject::QObject;

    void Watch(QLabel *label, QSize minimum)
    {
        label->resize(minimum);
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *label = static_cast<QLabel *>(watched);
            label->removeEventFilter(this);
            label->resize(label->size().expandedTo(label->sizeHint()));
        }
        return false;
    }
};

// A row without a font of its own keeps the one it inherits: setting that font again would
// lay an edit box's text out once more for nothing.
void applyFont(QWidget *w, const TFontSpec &spec)
{
    if (!spec.family)
        return;
    QFont font(QString::fromUtf8(spec.family));
    font.setPixelSize(spec.pixelSize);
    font.setBold(spec.bold);
    w->setFont(font);
}

void setColour(QWidget *w, QPalette::ColorRole role, QRgb colour)
{
    if (colour == kDefaultColour)
        return;
    QPalette palette = w->palette();
    palette.setColor(role, QColor::fromRgba(colour));
    w->setPalette(palette);
}

void buildFrames(QWidget *panel, const TPageLayout &layout)
{
    static const TShapeFrame::Fill fills[] = {TShapeFrame::Fill::White, TShapeFrame::Fill::Clear,
                                              TShapeFrame::Fill::Solid};
    for (const TFrameRow &row : layout.frames) {
        auto *frame = new TShapeFrame(QColor::fromRgba(layout.penColour), row.penWidth, fills[row.fill], panel);
        frame->setObjectName(QString::fromUtf8(row.name));
        frame->setGeometry(row.left, row.top, row.width, row.height);
        if (row.hint)
            frame->setToolTip(QString::fromUtf8(row.hint));
    }
}

void buildPictures(QWidget *panel, const TPageLayout &layout)
{
    for (const TPictureRow &row : layout.pictures) {
        auto *picture = new QLabel(panel);
        picture->setObjectName(QString::fromUtf8(row.name));
        picture->setPixmap(Pictures::Get(QLatin1StringView(row.resource)));
        picture->setScaledContents(row.stretch);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setGeometry(row.left, row.top, row.width, row.height);
    }
}

// Which text rows to build: all, only the computed ones, or only the others.
enum class Texts { All, ComputedOnly, DecorOnly };

void buildTexts(QWidget *panel, const TPageLayout &layout, TNaturalSizer *sizer, Texts which)
{
    for (const TTextRow &row : layout.texts) {
        const bool computed = row.flags & TTextRow::Computed;
        if ((which == Texts::ComputedOnly && !computed) || (which == Texts::DecorOnly && computed))
            continue;
        QLabel *label = (row.flags & TTextRow::Link) ? new TLinkLabel(panel) : new QLabel(panel);
        label->setObjectName(QString::fromUtf8(row.name));
        label->setTextFormat(Qt::PlainText);
        label->setText(QString::fromUtf8(row.text));
        applyFont(label, row.font);
        setColour(label, QPalette::WindowText, row.colour);
        if (row.background != kDefaultColour) {
            setColour(label, QPalette::Window, row.background);
            label->setAutoFillBackground(true);
        }
        Qt::Alignment horizontal = Qt::AlignLeft;
        if (row.flags & TTextRow::AlignRight)
            horizontal = Qt::AlignRight;
        else if (row.flags & TTextRow::AlignCentre)
            horizontal = Qt::AlignHCenter;
        label->setAlignment(horizontal | Qt::AlignTop);
        label->setWordWrap(row.flags & TTextRow::WordWrap);
        if (row.hint)
            label->setToolTip(QString::fromUtf8(row.hint));
        label->setGeometry(row.left, row.top, row.width, row.height);
        if (!(row.flags & TTextRow::Fixed))
            sizer->Watch(label, QSize(row.width, row.height));
    }
}

QWidget *createField(QWidget *panel, const TFieldRow &row)
{
    const QString text = QString::fromUtf8(row.text ? row.text : "");
    switch (row.kind) {
    case TFieldRow::Edit: {
        auto *edit = new QLineEdit(panel);
        edit->setFrame(false);
        edit->setAlignment(row.alignment);
        if (row.maxLength > 0)
            edit->setMaxLength(row.maxLength);
        edit->setText(text);
        return edit;
    }
    case TFieldRow::Date: {
        auto *date = new TDateMaskEdit(panel);
        date->setFrame(false);
        date->setAlignment(row.alignment);
        return date;
    }
    case TFieldRow::Number: {
        auto *number = new TNumEditCLX(panel);
        number->setFrame(false);
        number->setAlignment(row.alignment);
        number->SetDecimals(2);
        number->SetShowSeparator(true);
        // A slip never carries an amount below zero.
        number->SetAcceptsNegative(false);
        return number;
    }
    case TFieldRow::Memo:
    case TFieldRow::ReadOnlyMemo: {
        auto *memo = new TMemoCLX(panel);
        memo->setFrameShape(QFrame::NoFrame);
        memo->setReadOnly(row.kind == TFieldRow::ReadOnlyMemo);
        memo->SetAlignment(row.alignment & Qt::AlignHorizontal_Mask);
        memo->SetMaxLength(row.maxLength);
        if (!text.isEmpty())
            memo->SetLines(text.split(QLatin1Char('\n')));
        return memo;
    }
    }
    return nullptr;
}

// Builds a hidden page's decor when its panel is first shown, stacked under everything built
// before it (the fields and the computed texts, which the tables list last), as if it had been
// built first.
class TDecorOnShow : public QObject
{
public:
    TDecorOnShow(QWidget *panel, const TPageLayout &layout, TNaturalSizer *sizer)
        : QObject(panel), m_panel(panel), m_layout(layout), m_sizer(sizer)
    {
        panel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            m_panel->removeEventFilter(this);
            ErrorRelay::RunGuarded([this] { build(); });
            deleteLater();
        }
        return false;
    }

private:
    void build()
    {
        const QObjectList before = m_panel->children();
        buildFrames(m_panel, m_layout);
        buildPictures(m_panel, m_layout);
        buildTexts(m_panel, m_layout, m_sizer, Texts::DecorOnly);
        QWidget *firstBuilt = nullptr;
        for (QObject *child : before)
            if ((firstBuilt = qobject_cast<QWidget *>(child)))
                break;
        for (QObject *child : m_panel->children()) {
            auto *decor = qobject_cast<QWidget *>(child);
            if (!decor || before.contains(child))
                continue;
            if (firstBuilt)
                decor->stackUnder(firstBuilt);
            decor->show();
        }
    }

    QWidget *m_panel;
    const TPageLayout &m_layout;
    TNaturalSizer *m_sizer;
};

// An edit box lays its empty text out in the application's font while it is being built, before
// it takes its panel's font: with the system font there, that font was resolved at every start
// for no text on screen. Meanwhile the panel's font stands in for the application's. Only
// child widgets are built under it, and they take their panel's font whatever the
// application's is; windows, which would keep it, are not.
class TPanelFontAsDefault
{
public:
    explicit TPanelFontAsDefault(const QWidget *panel) : m_previous(QGuiApplication::font())
    {
        QGuiApplication::setFont(panel->font());
    }
    ~TPanelFontAsDefault() { QGuiApplication::setFont(m_previous); }
    TPanelFontAsDefault(const TPanelFontAsDefault &) = delete;
    TPanelFontAsDefault &operator=(const TPanelFontAsDefault &) = delete;

private:
    const QFont m_previous;
};

} // namespace

std::vector<QWidget *> TPageBuilder::Build(QWidget *panel, const TPageLayout &layout, Decor decor)
{
    auto *sizer = new TNaturalSizer(panel);
    if (decor == Decor::Now) {
        buildFrames(panel, layout);
        buildPictures(panel, layout);
        buildTexts(panel, layout, sizer, Texts::All);
    } else {
        buildTexts(panel, layout, sizer, Texts::ComputedOnly);
        new TDecorOnShow(panel, layout, sizer);
    }

    std::vector<QWidget *> fields;
    const TPanelFontAsDefault panelFont(panel);
    for (const TFieldRow &row : layout.fields) {
        QWidget *field = createField(panel, row);
        field->setObjectName(QString::fromUtf8(row.name));
        applyFont(field, row.font);
        field->setGeometry(row.left, row.top, row.width, row.height);
        // The boxes are tight (two capitals in the 17-pixel state field): the text runs up to
        // the shaded area's edges instead of inside the edit box's usual 2-pixel margins.
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->setTextMargins(-2, 0, -2, 0);
        if (row.hint)
            field->setToolTip(QString::fromUtf8(row.hint));
        // Shaded areas inside the white boxes.
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, row.background == kDefaultColour
                                             ? palette.color(QPalette::Button)
                                             : QColor::fromRgba(row.background));
        field->setPalette(palette);
        fields.push_back(field);
    }
    return fields;
}
