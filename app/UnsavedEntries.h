#pragma once
// What was typed on each page since its slip last went out (printed or saved as a PDF) or was
// cleared by "Nova guia": the page's texts at that moment, compared with its texts now, so that
// typing a value and then restoring it counts as nothing typed.

#include <QHash>
#include <QStringList>
#include <functional>

class QWidget;

class TUnsavedEntries
{
public:
    using Reader = std::function<QStringList()>;

    // `read` gives the page's texts as a slip would take them.
    void AddPage(QWidget *page, Reader read);
    // The page's texts as they stand now have gone out (or been cleared).
    void MarkSaved(QWidget *page);
    void MarkAllSaved();
    bool Unsaved(QWidget *page) const;
    bool AnyUnsaved() const;

    // "Descartar os dados digitados?"; true only for "Sim" (the default is "Não").
    static bool AskDiscard(QWidget *parent);
    static QString DiscardQuestion();

private:
    struct Page {
        Reader read;
        QStringList saved;
    };
    QHash<QWidget *, Page> m_pages;
};
