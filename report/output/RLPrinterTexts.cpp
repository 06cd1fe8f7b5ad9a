#include "report/output/RLPrinterTexts.h"

#include "report/base/RLConsts.h"

namespace {

// English, Portuguese, Spanish, French: in the order of TRLMessageLanguage.
const char *const rows[][4] = {
    {"The printer %1 does not take paper of %2 x %3 mm.", "A impressora %1 não aceita papel de %2 x %3 mm.",
     "La impresora %1 no acepta papel de %2 x %3 mm.", "L'imprimante %1 n'accepte pas le papier de %2 x %3 mm."},
    {"The print document could not be written: %1", "O documento de impressão não pôde ser gravado: %1",
     "No se pudo escribir el documento de impresión: %1", "Le document d'impression n'a pas pu être écrit : %1"},
    {"The printer %1 is stopped.", "A impressora %1 está parada.", "La impresora %1 está detenida.",
     "L'imprimante %1 est arrêtée."},
    {"The printer %1 is not accepting jobs.", "A impressora %1 não está aceitando trabalhos.",
     "La impresora %1 no acepta trabajos.", "L'imprimante %1 n'accepte pas de travaux."},
    {"The printer %1 did not print \"%2\": %3", "A impressora %1 não imprimiu \"%2\": %3",
     "La impresora %1 no imprimió \"%2\": %3", "L'imprimante %1 n'a pas imprimé « %2 » : %3"},
    {"The document could not be sent to the printer %1: %2",
     "O documento não pôde ser enviado à impressora %1: %2",
     "No se pudo enviar el documento a la impresora %1: %2",
     "Le document n'a pas pu être envoyé à l'imprimante %1 : %2"},
    {"The print service (CUPS) does not answer", "O serviço de impressão (CUPS) não responde",
     "El servicio de impresión (CUPS) no responde", "Le service d'impression (CUPS) ne répond pas"},
    {"The print service (CUPS) is not available", "O serviço de impressão (CUPS) não está disponível",
     "El servicio de impresión (CUPS) no está disponible", "Le service d'impression (CUPS) n'est pas disponible"},
    {"Sending to the printer %1...", "Enviando para a impressora %1...", "Enviando a la impresora %1...",
     "Envoi à l'imprimante %1..."},
    {"the job is held in the queue", "o trabalho está retido na fila", "el trabajo está retenido en la cola",
     "le travail est retenu dans la file"},
    {"the job was cancelled", "o trabalho foi cancelado", "el trabajo fue cancelado", "le travail a été annulé"},
    {"the job was aborted", "o trabalho foi abortado", "el trabajo fue abortado", "le travail a été abandonné"},
    {"the job stopped", "o trabalho parou", "el trabajo se detuvo", "le travail s'est arrêté"},
    {"No page in the chosen range.", "Nenhuma página no intervalo escolhido.", "Ninguna página en el intervalo elegido.",
     "Aucune page dans l'intervalle choisi."},
    {"No space in the temporary folder (%1)", "Sem espaço na pasta temporária (%1)",
     "Sin espacio en la carpeta temporal (%1)", "Plus d'espace dans le dossier temporaire (%1)"},
    {"The temporary folder does not exist or cannot be written (%1)",
     "A pasta temporária não existe ou não pode ser gravada (%1)",
     "La carpeta temporal no existe o no se puede escribir (%1)",
     "Le dossier temporaire n'existe pas ou n'est pas accessible en écriture (%1)"},
    {"Printing", "Impressão", "Impresión", "Impression"},
    {"Cancel", "Cancelar", "Cancelar", "Annuler"},
    {"The printer %1 is stopped: %2", "A impressora %1 está parada: %2", "La impresora %1 está detenida: %2",
     "L'imprimante %1 est arrêtée : %2"},
    {"The printer %1 is not accepting jobs: %2", "A impressora %1 não está aceitando trabalhos: %2",
     "La impresora %1 no acepta trabajos: %2", "L'imprimante %1 n'accepte pas de travaux : %2"},
};

constexpr int rowCount = int(sizeof rows / sizeof rows[0]);
static_assert(rowCount == ptNotAcceptingBecause + 1, "one row per printer text");

} // namespace

QString RLPrinterText(TRLPrinterText text)
{
    return QString::fromUtf8(rows[text][RLMessagesLanguage()]);
}
