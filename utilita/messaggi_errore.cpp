#include "utilita/messaggi_errore.h"

#include <algorithm>
#include <iterator>

namespace zekalendo {

namespace {
struct Messaggio {
  std::int32_t numero;
  std::u16string_view testo;
};

// In ascending order of number, for the binary search below.
constexpr Messaggio kMessaggi[] = {
    {3, u"Return senza GoSub"},
    {5, u"Chiamata di routine o argomento non valido"},
    {6, u"Overflow"},
    {7, u"Memoria esaurita"},
    {9, u"Indice non compreso nell'intervallo"},
    {10, u"Questa matrice è fissa o temporaneamente bloccata "},
    {11, u"Divisione per zero"},
    {13, u"Tipo non corrispondente"},
    {14, u"Spazio stringa esaurito"},
    {16, u"Espressione troppo complessa"},
    {17, u"Impossibile eseguire l'operazione richiesta"},
    {18, u"Interruzione dell'utente"},
    {20, u"Resume senza Error"},
    {28, u"Spazio dello stack esaurito"},
    {35, u"Sub o Function non definita"},
    {47, u"Troppe applicazioni client DLL"},
    {48, u"Errore di caricamento DLL"},
    {49, u"Convenzione di chiamata DLL non valida"},
    {51, u"Errore interno"},
    {52, u"Nome o numero di file non valido"},
    {53, u"Impossibile trovare il file"},
    {54, u"Modalità file non valida"},
    {55, u"File già aperto"},
    {57, u"Errore di I/O periferica"},
    {58, u"File già esistente"},
    {59, u"Lunghezza del record non valida"},
    {61, u"Disco pieno"},
    {62, u"Input oltre la fine del file"},
    {63, u"Numero di record non valido"},
    {67, u"Troppi file"},
    {68, u"Periferica non disponibile"},
    {70, u"Autorizzazione negata"},
    {71, u"Disco non pronto"},
    {74, u"Impossibile rinominare con unità diversa"},
    {75, u"Errore di accesso al percorso/file"},
    {76, u"Impossibile trovare il percorso "},
    {91, u"Variabile oggetto o variabile del blocco With non impostata"},
    {92, u"Ciclo For non inizializzato"},
    {93, u"Stringa campione non valida"},
    {94, u"Utilizzo non valido di Null"},
    {96,
     u"Impossibile elaborare gli eventi dell'oggetto perché l'oggetto sta già generando "
     u"eventi per il numero massimo di riceventi supportato"},
    {97,
     u"Impossibile richiamare la funzione Friend per un oggetto che non è un'istanza della "
     u"classe di definizione"},
    {98,
     u"Una chiamata a una proprietà o a un metodo non può includere un riferimento a un "
     u"oggetto privato, né come argomento né come valore restituito"},
    {321, u"Formato di file non valido"},
    {322, u"Impossibile creare il file temporaneo necessario"},
    {325, u"Formato non valido nel file di risorse"},
    {380, u"Valore di proprietà non valido"},
    {381, u"Indice della matrice di proprietà non valido"},
    {382, u"Set non supportata in fase di esecuzione"},
    {383, u"Set non supportata (proprietà di sola lettura)"},
    {385, u"Necessario indice della matrice di proprietà"},
    {387, u"Set non ammessa"},
    {393, u"Get non supportata in fase di esecuzione"},
    {394, u"Get non supportata (proprietà di sola scrittura)"},
    {422, u"Impossibile trovare la proprietà"},
    {423, u"Impossibile trovare proprietà o metodo"},
    {424, u"Necessario oggetto"},
    {429, u"Il componente ActiveX non può creare l'oggetto"},
    {430, u"La classe non supporta l'automazione o l'interfaccia prevista."},
    {432,
     u"Impossibile trovare nome di file o nome di classe durante un'operazione di "
     u"automazione"},
    {438, u"Proprietà o metodo non supportati dall'oggetto"},
    {440, u"Errore di automazione"},
    {442,
     u"Il collegamento alla libreria dei tipi o alla libreria degli oggetti per il "
     u"processo remoto non è più disponibile. Scegliere OK per rimuovere il riferimento."},
    {443, u"L'oggetto di automazione non ha un valore predefinito"},
    {445, u"Azione non valida per l'oggetto"},
    {446, u"L'oggetto non supporta argomenti predefiniti"},
    {447, u"L'oggetto non supporta le impostazioni internazionali correnti"},
    {448, u"Impossibile trovare argomento predefinito"},
    {449, u"Argomento non facoltativo"},
    {450, u"Numero errato di argomenti o assegnazione di proprietà non valida"},
    {451,
     u"La routine Property Let non è stata definita e la routine Property Get non ha "
     u"restituito un oggetto"},
    {452, u"Ordinale non valido"},
    {453, u"Impossibile trovare nella DLL la funzione specificata"},
    {454, u"Impossibile trovare la risorsa codice"},
    {455, u"Errore di blocco risorsa codice"},
    {457, u"Questa chiave è già associata ad un elemento dell'insieme"},
    {458, u"La variabile utilizza un tipo di automazione non supportato in Visual Basic"},
    {459, u"L'oggetto o la classe non supporta il gruppo di eventi"},
    {460, u"Formato degli Appunti non valido"},
    {461, u"Impossibile trovare il metodo o il membro dei dati"},
    {462, u"Il computer server remoto non esiste o non è disponibile."},
    {463, u"Classe non registrata nel computer locale."},
    {481, u"Immagine non valida"},
    {482, u"Errore della stampante"},
    {735, u"Impossibile salvare il file in TEMP"},
    {744, u"Impossibile trovare il testo di ricerca"},
    {746, u"Sostituzioni troppo lunghe"},
};
static_assert(std::size(kMessaggi) == 87);
static_assert(std::ranges::is_sorted(kMessaggi, {}, &Messaggio::numero));
}  // namespace

std::optional<std::u16string_view> MessaggioItaliano(std::int32_t numero) {
  const auto* found = std::ranges::lower_bound(kMessaggi, numero, {}, &Messaggio::numero);
  if (found == std::end(kMessaggi) || found->numero != numero) return std::nullopt;
  return found->testo;
}

}  // namespace zekalendo
