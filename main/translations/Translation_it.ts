<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>Scopri di più</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. Tutti i diritti riservati.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versione %1</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>File recenti</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Lingua</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Guida utente</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>Domande frequenti</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Feedback e assistenza</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Mostra cartella dei log</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Verifica aggiornamenti</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>Nessun file recente</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>Nessun programma su questo computer è configurato per mostrare pagine web, quindi la guida utente non può essere aperta.

La guida è il file %1.</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>allegato</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>Questo messaggio è allegato a più di %1 livelli di profondità e non si apre qui. Salvalo per aprirlo da solo.</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>I messaggi allegati in questo file sono troppo grandi nel complesso; questo non si apre qui. Salvalo per aprirlo da solo.</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>Questo messaggio allegato non può essere letto.</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>Da: %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Nessun mittente&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Inviato: %1</translation>
    </message>
</context>
<context>
    <name>CustomWindowFrame</name>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Riduci a icona</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Ingrandisci</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Ripristina</translation>
    </message>
</context>
<context>
    <name>DocumentPluginManager</name>
    <message>
        <source>Supported Documents (%1)</source>
        <translation>Documenti supportati (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
</context>
<context>
    <name>DocumentProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Attendere</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Elaborazione in corso...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Tro&amp;va:</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>Trova nel messaggio</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>Corrispondenza precedente (Maiusc+Invio)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>Corrispondenza successiva (Invio)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Maiuscole/&amp;minuscole</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Chiudi la barra di ricerca (Esc)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Nessuna corrispondenza</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 di %2</translation>
    </message>
</context>
<context>
    <name>ICVUpdatesService</name>
    <message>
        <source>Check for Updates</source>
        <translation>Verifica aggiornamenti</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>Stai usando la versione %1.
Questa versione non contatta alcun server di aggiornamento.</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(sconosciuta)</translation>
    </message>
</context>
<context>
    <name>InfoLine</name>
    <message>
        <source>%1 B</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
</context>
<context>
    <name>InterfaceLocale</name>
    <message>
        <source>en_US</source>
        <comment>The locale of this translation, for writing dates and numbers: a language code, optionally followed by an underscore and a country code (de, fr_FR, pt_BR, ja). Not shown to the user.</comment>
        <translation>it_IT</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Veltrano Quorvia</source>
        <translation>Veltrano Quorvia</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Visualizza</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Pagina doppia</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>Pagina singola</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Riduci</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Ingrandisci</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Dimensioni effettive</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Adatta alla larghezza</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Prima pagina</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Pagina precedente</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Pagina successiva</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Ultima pagina</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>Ruota tutto a sinistra</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>Ruota tutto a destra</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Ruota a sinistra</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Ruota a destra</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Segnalibri</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Stampa</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Salva come PDF</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Esporta immagini</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Cerca</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>Aggiungi o trascina qui i file</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ Aggiungi file</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>Apertura non riuscita</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>Il file non esiste.</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>Nessun plug-in per documenti può aprire questo file.</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Errore del file. Impossibile aprire il documento.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Apri documento</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Questa è una cartella, non un file.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Questo non è un file normale.</translation>
    </message>
</context>
<context>
    <name>MeetingLine</name>
    <message>
        <source>%1 %2</source>
        <comment>A date, then a time of day: &quot;Monday, 6 May 2024 09:30&quot;</comment>
        <translation>%1 alle %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <comment>From the start to the end of a meeting</comment>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>fino a %1</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>Quando: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>Fuso orario: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Dove: %1</translation>
    </message>
    <message>
        <source>Organiser: %1</source>
        <translation>Organizzatore: %1</translation>
    </message>
</context>
<context>
    <name>MyWebViewWidget</name>
    <message>
        <source>Loading the message…</source>
        <translation>Caricamento del messaggio…</translation>
    </message>
    <message>
        <source>%1%</source>
        <comment>zoom level in percent</comment>
        <translation>%1 alle %2 {1%?}</translation>
    </message>
</context>
<context>
    <name>OpenFailuresDialog</name>
    <message>
        <source>Open Failed</source>
        <translation>Apertura non riuscita</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>Non è stato possibile aprire %n file.</numerusform>
            <numerusform>Non è stato possibile aprire %n file.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintProgressBar</name>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Annullamento…</translation>
    </message>
    <message>
        <source>Preparing the pages…</source>
        <translation>Preparazione delle pagine…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>Scrittura della pagina %1 di %2 del PDF…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>Stampa della pagina %1 di %2…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Proprietà</translation>
    </message>
    <message>
        <source>&amp;Of:</source>
        <translation>&amp;Di:</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtro:</translation>
    </message>
    <message>
        <source>Tag, name, type or value</source>
        <translation>Tag, nome, tipo o valore</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>Copia i valori completi delle proprietà selezionate</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copia</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Messaggio</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>Allegato %1: %2</translation>
    </message>
</context>
<context>
    <name>PropertyModel</name>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valore</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Errore del file. Impossibile aprire il documento.</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Il file non esiste.</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Questa è una cartella, non un file.</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>Non hai il permesso di leggere questo file.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>Impossibile leggere il file.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Il file è vuoto.</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>Questo non è né un file TNEF (winmail.dat) né un messaggio di Outlook (.msg).</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>Il file è troppo danneggiato per essere visualizzato.</translation>
    </message>
</context>
<context>
    <name>TessilViewWidget</name>
    <message>
        <source>From:</source>
        <translation>Da:</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Nessun mittente&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;Nessun oggetto&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Salva con nome...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>Salva tutti gli allegati...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>Apri allegato</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>&quot;%1&quot; è un programma o uno script. Aprirlo può eseguire programmi sul computer e danneggiarlo.

Aprilo solo se ti fidi del mittente e aspettavi questo file. Aprirlo comunque?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>Impossibile creare il file temporaneo: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Salva allegato</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>Impossibile scrivere in %1</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>Seleziona la cartella di destinazione</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>Questo file è danneggiato; parte del contenuto potrebbe mancare.</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>Nascondi questo avviso</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>Nessun programma su questo computer è configurato per aprire &quot;%1&quot;.

Puoi salvarlo e aprirlo con un programma a tua scelta.</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>A:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>Cc:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Data:</translation>
    </message>
    <message numerus="yes">
        <source>%n attachment(s)</source>
        <translation>
            <numerusform>%n allegato</numerusform>
            <numerusform>%n allegati</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>Questo programma non può aprire &quot;%1&quot; in una scheda a sé.

Puoi salvarlo e aprire il file salvato.</translation>
    </message>
    <message>
        <source>message</source>
        <translation>messaggio</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Esporta come PDF</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Pagina %1 di %2</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Allegati</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Stampa</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>Impossibile scrivere il PDF.</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>Impossibile stampare il messaggio.</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>Documenti PDF (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ViewActions</name>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Stampa...</translation>
    </message>
    <message>
        <source>&amp;Export as PDF...</source>
        <translation>&amp;Esporta come PDF...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Trova...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Ingrandisci</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Riduci</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>Dimensioni &amp;effettive</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>&amp;Salva allegato...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>Salva &amp;tutti gli allegati...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>Propr&amp;ietà</translation>
    </message>
</context>
</TS>
