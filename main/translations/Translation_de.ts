<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>Über Veltrano Quorvia</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>Mehr Infos</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Zuletzt geöffnete Dateien</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Benutzerhandbuch</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>Häufige Fragen</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Feedback und Support</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Protokollordner anzeigen</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über Veltrano Quorvia</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>Keine zuletzt geöffneten Dateien</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>Auf diesem Computer ist kein Programm zum Anzeigen von Webseiten eingerichtet, daher kann das Benutzerhandbuch nicht geöffnet werden.

Das Handbuch ist die Datei %1.</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>Anhang</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>Diese Nachricht ist mehr als %1 Ebenen tief angehängt und öffnet sich hier nicht. Speichern Sie sie, um sie für sich zu öffnen.</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>Die angehängten Nachrichten dieser Datei sind zusammen zu groß; diese öffnet sich hier nicht. Speichern Sie sie, um sie für sich zu öffnen.</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>Diese angehängte Nachricht kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>Von: %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Kein Absender&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Gesendet: %1</translation>
    </message>
</context>
<context>
    <name>CustomWindowFrame</name>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>DocumentPluginManager</name>
    <message>
        <source>Supported Documents (%1)</source>
        <translation>Unterstützte Dokumente (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>DocumentProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Bitte warten</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Wird verarbeitet...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Su&amp;chen:</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>In der Nachricht suchen</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>Vorheriger Treffer (Umschalt+Eingabe)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>Nächster Treffer (Eingabe)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Suchleiste schließen (Esc)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>ICVUpdatesService</name>
    <message>
        <source>Check for Updates</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>Sie verwenden Version %1.
Diese Version nimmt keine Verbindung zu einem Update-Server auf.</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(unbekannt)</translation>
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
        <translation>de_DE</translation>
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
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Doppelseite</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>Einzelseite</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>An Breite anpassen</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Erste Seite</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>Alle nach links drehen</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>Alle nach rechts drehen</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Als PDF speichern</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Bilder exportieren</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>Dateien hinzufügen oder hierher ziehen</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ Datei(en) hinzufügen</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>Öffnen fehlgeschlagen</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>Kein Dokument-Plug-in kann diese Datei öffnen.</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Dateifehler. Das Dokument kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Dokument öffnen</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Dies ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Dies ist keine gewöhnliche Datei.</translation>
    </message>
</context>
<context>
    <name>MeetingLine</name>
    <message>
        <source>%1 %2</source>
        <comment>A date, then a time of day: &quot;Monday, 6 May 2024 09:30&quot;</comment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <comment>From the start to the end of a meeting</comment>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>bis %1</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>Wann: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>Zeitzone: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Wo: %1</translation>
    </message>
    <message>
        <source>Organiser: %1</source>
        <translation>Organisator: %1</translation>
    </message>
</context>
<context>
    <name>MyWebViewWidget</name>
    <message>
        <source>Loading the message…</source>
        <translation>Nachricht wird geladen…</translation>
    </message>
    <message>
        <source>%1%</source>
        <comment>zoom level in percent</comment>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>OpenFailuresDialog</name>
    <message>
        <source>Open Failed</source>
        <translation>Öffnen fehlgeschlagen</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n Datei konnte nicht geöffnet werden.</numerusform>
            <numerusform>%n Dateien konnten nicht geöffnet werden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintProgressBar</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <source>Preparing the pages…</source>
        <translation>Seiten werden vorbereitet…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>Seite %1 von %2 des PDF wird geschrieben…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>Seite %1 von %2 wird gedruckt…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>&amp;Of:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>Tag, name, type or value</source>
        <translation>Tag, Name, Typ oder Wert</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>Die vollständigen Werte der ausgewählten Eigenschaften kopieren</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>Anhang %1: %2</translation>
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
        <translation>Name</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Dateifehler. Das Dokument kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Dies ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>Sie haben keine Berechtigung, diese Datei zu lesen.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>Die Datei konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>Dies ist weder eine TNEF-Datei (winmail.dat) noch eine Outlook-Nachricht (.msg).</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>Die Datei ist zu stark beschädigt, um angezeigt zu werden.</translation>
    </message>
</context>
<context>
    <name>TessilViewWidget</name>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Kein Absender&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;Kein Betreff&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>Alle Anhänge speichern...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>Anhang öffnen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>„%1“ ist ein Programm oder Skript. Beim Öffnen können Programme auf Ihrem Computer ausgeführt werden und ihm schaden.

Öffnen Sie die Datei nur, wenn Sie dem Absender vertrauen und diese Datei erwartet haben. Trotzdem öffnen?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>Temporäre Datei kann nicht erstellt werden: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Anhang speichern</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>Speicherordner auswählen</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>Diese Datei ist beschädigt; möglicherweise fehlen Inhalte.</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>Diesen Hinweis ausblenden</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>Auf diesem Computer ist kein Programm zum Öffnen von „%1“ eingerichtet.

Sie können die Datei stattdessen speichern und mit einem Programm Ihrer Wahl öffnen.</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>An:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>Cc:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message numerus="yes">
        <source>%n attachment(s)</source>
        <translation>
            <numerusform>%n Anhang</numerusform>
            <numerusform>%n Anhänge</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>Dieses Programm kann „%1“ nicht in einem eigenen Tab öffnen.

Sie können es stattdessen speichern und die gespeicherte Datei öffnen.</translation>
    </message>
    <message>
        <source>message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Anhänge</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>Das PDF konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>Die Nachricht konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ViewActions</name>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Export as PDF...</source>
        <translation>Als PDF &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>Anhang &amp;speichern...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>&amp;Alle Anhänge speichern...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>E&amp;igenschaften</translation>
    </message>
</context>
</TS>
