#include "report/base/RLConsts.h"

#include <QStringList>

#include <array>
#include <atomic>

// The engine starts without touching the working directory: it writes no log of its own, so a
// file named "rlib.log" there belongs to the user and is left alone.

namespace {

struct MessageRow
{
    int number;
    const char *portuguese;
    const char *english;
    const char *spanish;
    const char *french;
};

const MessageRow messageRows[] = {
    {1, "Imprimindo o relatório...", "Printing in progress...", "Impresión en marcha...", "Impression du rapport..."},
    {2, "Salvando o relatório...", "Saving report...", "Guardando el informe...", "Sauver le rapport..."},
    {3, "Preparando o relatório...", "Preparing report...", "Preparación del informe...", "Préparation du rapport..."},
    {4, "Não há impressora cadastrada", "Printer not found", "Impresora no encontrada", "Imprimante non trouvée"},
    {5, "Será carregada a configuração padrão", "Load default configuration", "Cargar la configuración estándar", "Chargement de la configuration standard"},
    {6, "Erro no driver da impressora", "Printer driver error", "Error en driver de la impresora", "Erreur dans le driver d'impression"},
    {7, "Página", "Page", "Página", "Page"},
    {8, "Erro durante a preparação do relatório", "Error while preparing report", "Un error ocurrió mientras se preparaba el informe", "Erreur durant la prépartaion du rapport"},
    {9, "Continua...", "Continues...", "Continúa...", "Saut de page..."},
    {10, "Continuação", "Continuation", "Continuación", "A suivre"},
    {11, "Fim", "End", "Extremo", "Fin"},
    {12, "Arquivo não encontrado", "File not found", "Archivo no encontrado", "Fichier non trouvé"},
    {13, "Nome do arquivo", "File Name", "Nombre del archivo", "Nom du fichier"},
    {14, "Todos os arquivos", "All files", "Todos los archivos", "Tous les fichiers"},
    {15, "Carregar relatório", "Load report", "Cargar informe", "Charger le rapport"},
    {16, "Não encontrado", "Not found", "No encontrado", "Non trouvé"},
    {17, "Aguarde...", "Wait...", "Espere...", "Patientez..."},
    {18, "Concluído", "Finished", "Concluido", "Terminé"},
    {19, "Cancelar", "Cancel", "Cancelar", "Annuler"},
    {20, "Fechar", "Close", "Cerrar", "Fermer"},
    {21, "Salvar", "Save", "Guardar", "Enregistrer"},
    {22, "Enviar", "Send", "Enviar", "Envoyer"},
    {23, "Imprimir", "Print", "Imprimir", "Imprimer"},
    {24, "Sobre o", "About", "Acerca de", "À propos de"},
    {25, "Pré-visualização", "Preview", "Vista previa", "Aperçu"},
    {26, "de", "of", "de", "sur"},
    {27, "Zoom", "Zoom", "Zoom", "Zoom"},
    {28, "Primeira página", "First page", "Primera página", "Première page"},
    {29, "Página anterior", "Prior page", "Página anterior", "Page précédente"},
    {30, "Próxima página", "Next page", "Página siguiente", "Page suivante"},
    {31, "Última página", "Last page", "Última página", "Dernière page"},
    {32, "Página inteira", "Entire page", "Página entera", "Page entière"},
    {33, "Largura da página", "Entire width", "Ancho de la página", "Largeur de la page"},
    {34, "Várias páginas", "Multiple pages", "Varias páginas", "Plusieurs pages"},
    {35, "Configurar impressora", "Configure printer", "Configurar impresora", "Configurer l'imprimante"},
    {36, "Salvar em disco", "Save to file", "Guardar en disco", "Enregistrer sur le disque"},
    {37, "Enviar para", "Send to", "Enviar a", "Envoyer vers"},
    {38, "Impressora", "Printer", "Impresora", "Imprimante"},
    {39, "Nome", "Name", "Nombre", "Nom"},
    {40, "Imprimir em arquivo", "Print to file", "Imprimir en archivo", "Imprimer dans un fichier"},
    {41, "Imprimir em segundo plano", "Print in background", "Imprimir en segundo plano", "Imprimer en arrière-plan"},
    {42, "Salvar em segundo plano", "Save in background", "Guardar en segundo plano", "Enregistrer en arrière-plan"},
    {43, "Intervalo de páginas", "Page range", "Intervalo de páginas", "Étendue de pages"},
    {44, "de", "from", "de", "de"},
    {45, "até", "to", "a", "à"},
    {46, "Tudo", "All", "Todo", "Tout"},
    {47, "Páginas", "Pages", "Páginas", "Pages"},
    {48, "Seleção", "Selection", "Selección", "Sélection"},
    {49, "Cópias", "Copies", "Copias", "Copies"},
    {50, "Número de cópias", "Number of copies", "Número de copias", "Nombre de copies"},
    {51, "Ok", "Ok", "Aceptar", "Ok"},
    {52, "Dividir a tela", "Divide the screen", "Dividir la pantalla", "Diviser l'écran"},
    {53, "Nome inválido", "Invalid name", "Nombre no válido", "Nom invalide"},
    {54, "Nome já utilizado", "Name already in use", "Nombre ya utilizado", "Nom déjà utilisé"},
    {55, "Usar Filtro", "Use filter", "Usar filtro", "Utiliser le filtre"},
    {56, "Página da Web", "Web page", "Página web", "Page Web"},
    {57, "Formato RichText", "RichText Format", "Formato RichText", "Format RichText"},
    {58, "Documento PDF", "PDF Document", "Documento PDF", "Document PDF"},
    {59, "Planilha Excel", "Excel spreadsheet", "Hoja de cálculo Excel", "Feuille de calcul Excel"},
    {60, "em", "at", "en", "sur"},
    {61, "Formulário", "Form", "Formulario", "Formulaire"},
    {62, "Padrão", "Default", "Predeterminado", "Par défaut"},
    {63, "cols", "cols", "cols", "cols"},
    {64, "Aumentar o zoom", "Increase zoom", "Aumentar el zoom", "Augmenter le zoom"},
    {65, "Diminuir o zoom", "Decrease zoom", "Disminuir el zoom", "Diminuer le zoom"},
    {66, "Copiar", "Copy", "Copiar", "Copier"},
    {67, "Editar", "Edit", "Editar", "Modifier"},
    {68, "Procurar", "Find", "Buscar", "Rechercher"},
    {69, "Te&xto", "Te&xt", "Te&xto", "Te&xte"},
    {70, "&Próxima", "Find &Next", "Buscar &siguiente", "&Suivant"},
    {71, "Palavras &inteiras", "&Whole words only", "Palabras &completas", "Mots &entiers"},
    {72, "Diferenciar &maiúsculas de minúsculas", "&Match Case", "Distinguir &mayúsculas de minúsculas", "Respecter la &casse"},
    {73, "A&cima", "&Up", "A&rriba", "Vers le &haut"},
    {74, "A&baixo", "&Down", "A&bajo", "Vers le &bas"},
    {75, "Direção", "Direction", "Dirección", "Direction"},
    {76, "Nenhuma pasta temporária pode ser gravada (%1): crie uma ou corrija a variável TMPDIR.",
     "No temporary folder can be written (%1): create one or correct the TMPDIR variable.",
     "No se puede escribir en ninguna carpeta temporal (%1): cree una o corrija la variable TMPDIR.",
     "Aucun dossier temporaire n'est accessible en écriture (%1) : créez-en un ou corrigez la variable TMPDIR."},
    {77, "A impressora %1 não aceita papel de %2 x %3 mm.",
     "The printer %1 does not take paper of %2 x %3 mm.",
     "La impresora %1 no acepta papel de %2 x %3 mm.",
     "L'imprimante %1 n'accepte pas le papier de %2 x %3 mm."},
    {78, "O documento de impressão não pôde ser gravado: %1",
     "The print document could not be written: %1",
     "No se pudo escribir el documento de impresión: %1",
     "Le document d'impression n'a pas pu être écrit : %1"},
    {79, "A impressora %1 está parada.",
     "The printer %1 is stopped.",
     "La impresora %1 está detenida.",
     "L'imprimante %1 est arrêtée."},
    {80, "A impressora %1 não está aceitando trabalhos.",
     "The printer %1 is not accepting jobs.",
     "La impresora %1 no acepta trabajos.",
     "L'imprimante %1 n'accepte pas de travaux."},
    {81, "A impressora %1 não imprimiu \"%2\": %3",
     "The printer %1 did not print \"%2\": %3",
     "La impresora %1 no imprimió \"%2\": %3",
     "L'imprimante %1 n'a pas imprimé « %2 » : %3"},
    {82, "O documento não pôde ser enviado à impressora %1: %2",
     "The document could not be sent to the printer %1: %2",
     "No se pudo enviar el documento a la impresora %1: %2",
     "Le document n'a pas pu être envoyé à l'imprimante %1 : %2"},
    {83, "O serviço de impressão (CUPS) não responde",
     "The print service (CUPS) does not answer",
     "El servicio de impresión (CUPS) no responde",
     "Le service d'impression (CUPS) ne répond pas"},
    {84, "O serviço de impressão (CUPS) não está disponível",
     "The print service (CUPS) is not available",
     "El servicio de impresión (CUPS) no está disponible",
     "Le service d'impression (CUPS) n'est pas disponible"},
    {85, "Enviando para a impressora %1...",
     "Sending to the printer %1...",
     "Enviando a la impresora %1...",
     "Envoi à l'imprimante %1..."},
    {86, "o trabalho está retido na fila",
     "the job is held in the queue",
     "el trabajo está retenido en la cola",
     "le travail est retenu dans la file"},
    {87, "o trabalho foi cancelado",
     "the job was cancelled",
     "el trabajo fue cancelado",
     "le travail a été annulé"},
    {88, "o trabalho foi abortado",
     "the job was aborted",
     "el trabajo fue abortado",
     "le travail a été abandonné"},
    {89, "o trabalho parou",
     "the job stopped",
     "el trabajo se detuvo",
     "le travail s'est arrêté"},
    {90, "Nenhuma página no intervalo escolhido.",
     "No page in the chosen range.",
     "Ninguna página en el intervalo elegido.",
     "Aucune page dans l'intervalle choisi."},
    {91, "Sem espaço na pasta temporária (%1)",
     "No space in the temporary folder (%1)",
     "Sin espacio en la carpeta temporal (%1)",
     "Plus d'espace dans le dossier temporaire (%1)"},
    {92, "A pasta temporária não existe ou não pode ser gravada (%1)",
     "The temporary folder does not exist or cannot be written (%1)",
     "La carpeta temporal no existe o no se puede escribir (%1)",
     "Le dossier temporaire n'existe pas ou n'est pas accessible en écriture (%1)"},
    {93, "Impressão",
     "Printing",
     "Impresión",
     "Impression"},
    {94, "A impressora %1 está parada: %2",
     "The printer %1 is stopped: %2",
     "La impresora %1 está detenida: %2",
     "L'imprimante %1 est arrêtée : %2"},
    {95, "A impressora %1 não está aceitando trabalhos: %2",
     "The printer %1 is not accepting jobs: %2",
     "La impresora %1 no acepta trabajos: %2",
     "L'imprimante %1 n'accepte pas de travaux : %2"},
    {96, "Não é mais possível saber se a impressora %1 imprimiu \"%2\" (trabalho %3): o serviço de impressão "
         "não guarda mais esse trabalho. Confira na impressora.",
     "It can no longer be known whether the printer %1 printed \"%2\" (job %3): the print service no longer "
     "keeps that job. Look at the printer.",
     "Ya no es posible saber si la impresora %1 imprimió \"%2\" (trabajo %3): el servicio de impresión ya no "
     "guarda ese trabajo. Verifique en la impresora.",
     "Il n'est plus possible de savoir si l'imprimante %1 a imprimé « %2 » (travail %3) : le service "
     "d'impression ne garde plus ce travail. Vérifiez sur l'imprimante."},
    {97, "%4. O trabalho %3 (\"%2\") da impressora %1 ainda pode ser impresso quando o serviço voltar a "
         "responder; o resultado será informado.",
     "%4. The job %3 (\"%2\") on the printer %1 may still print when the service answers again; its "
     "outcome will be reported.",
     "%4. El trabajo %3 (\"%2\") de la impresora %1 aún puede imprimirse cuando el servicio vuelva a "
     "responder; se informará el resultado.",
     "%4. Le travail %3 (« %2 ») de l'imprimante %1 peut encore être imprimé quand le service répondra "
     "de nouveau ; son résultat sera signalé."},
    {98, "O trabalho %3 (\"%2\") não pôde ser cancelado na impressora %1: %4",
     "The job %3 (\"%2\") could not be cancelled on the printer %1: %4",
     "El trabajo %3 (\"%2\") no pudo cancelarse en la impresora %1: %4",
     "Le travail %3 (« %2 ») n'a pas pu être annulé sur l'imprimante %1 : %4"},
    {99, "%4. O cancelamento do trabalho %3 (\"%2\") da impressora %1 será repetido até o serviço responder.",
     "%4. Cancelling the job %3 (\"%2\") on the printer %1 will be tried again until the service answers.",
     "%4. La cancelación del trabajo %3 (\"%2\") de la impresora %1 se repetirá hasta que el servicio responda.",
     "%4. L'annulation du travail %3 (« %2 ») de l'imprimante %1 sera répétée jusqu'à ce que le service réponde."},
    {100, "até ser liberado",
     "until it is released",
     "hasta ser liberado",
     "jusqu'à sa libération"},
    {101, "\"%2\" não foi enviado à impressora %1: %3",
     "\"%2\" was not sent to the printer %1: %3",
     "\"%2\" no fue enviado a la impresora %1: %3",
     "« %2 » n'a pas été envoyé à l'imprimante %1 : %3"},
    {102, "A impressora %1 imprimiu \"%2\" (trabalho %3).",
     "The printer %1 printed \"%2\" (job %3).",
     "La impresora %1 imprimió \"%2\" (trabajo %3).",
     "L'imprimante %1 a imprimé « %2 » (travail %3)."},
    {103, "O trabalho %3 (\"%2\") foi cancelado na impressora %1.",
     "The job %3 (\"%2\") was cancelled on the printer %1.",
     "El trabajo %3 (\"%2\") fue cancelado en la impresora %1.",
     "Le travail %3 (« %2 ») a été annulé sur l'imprimante %1."},
    {104, "conectando à impressora",
     "connecting to the printer",
     "conectando con la impresora",
     "connexion à l'imprimante"},
};
static_assert(sizeof(messageRows) / sizeof(messageRows[0]) == RLMessageCount, "one row per message");

using MessageSet = std::array<QString, RLMessageCount>;

// All four sets are built once, on first use; switching language only moves an index.
struct MessageTable
{
    std::array<MessageSet, 4> sets;

    MessageTable()
    {
        for (const MessageRow &row : messageRows) {
            const int i = row.number - 1;
            sets[mlEnglish][i] = QString::fromUtf8(row.english);
            sets[mlPortuguese][i] = QString::fromUtf8(row.portuguese);
            sets[mlSpanish][i] = QString::fromUtf8(row.spanish);
            sets[mlFrench][i] = QString::fromUtf8(row.french);
        }
    }
};

const MessageTable &messageTable()
{
    static const MessageTable table;
    return table;
}

std::atomic<int> &currentLanguage()
{
    static std::atomic<int> language(RLMessageLanguageFor(QLocale::system()));
    return language;
}

} // namespace

TRLMessageLanguage RLMessageLanguageFor(const QLocale &locale)
{
    switch (locale.language()) {
    case QLocale::Portuguese:
        return mlPortuguese;
    case QLocale::Spanish:
        return mlSpanish;
    case QLocale::French:
        return mlFrench;
    default:
        return mlEnglish;
    }
}

void RLLoadMessages(TRLMessageLanguage language)
{
    if (language < mlEnglish || language > mlFrench)
        return;
    currentLanguage().store(language);
}

TRLMessageLanguage RLMessagesLanguage()
{
    return static_cast<TRLMessageLanguage>(currentLanguage().load());
}

QString RLMessage(int number)
{
    if (number < 1 || number > RLMessageCount)
        return QString();
    return messageTable().sets[RLMessagesLanguage()][number - 1];
}
