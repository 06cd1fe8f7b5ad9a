#include "app/UnsavedEntries.h"

#include <QMessageBox>
#include <QPushButton>

void TUnsavedEntries::AddPage(QWidget *page, Reader read)
{
    Page entry{std::move(read), {}};
    entry.saved = entry.read();
    m_pages.insert(page, std::move(entry));
}

void TUnsavedEntries::MarkSaved(QWidget *page)
{
    const auto it = m_pages.find(page);
    if (it != m_pages.end())
        it->saved = it->read();
}

void TUnsavedEntries::MarkAllSaved()
{
    for (Page &page : m_pages)
        page.saved = page.read();
}

bool TUnsavedEntries::Unsaved(QWidget *page) const
{
    const auto it = m_pages.constFind(page);
    return it != m_pages.constEnd() && it->read() != it->saved;
}

bool TUnsavedEntries::AnyUnsaved() const
{
    for (auto it = m_pages.constBegin(); it != m_pages.constEnd(); ++it)
        if (it->read() != it->saved)
            return true;
    return false;
}

QString TUnsavedEntries::DiscardQuestion()
{
    return QStringLiteral("Descartar os dados digitados?");
}

bool TUnsavedEntries::AskDiscard(QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zavenor"), DiscardQuestion(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sim"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Não"));
    // Losing a slip's data takes a deliberate answer.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
