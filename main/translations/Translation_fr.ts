<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>Plus d&apos;infos</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. Tous droits réservés.</translation>
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
        <translation>Aide</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Fichiers récents</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Guide de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>FAQ du produit</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Commentaires et assistance</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Afficher le dossier des journaux</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Rechercher des mises à jour</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>Aucun fichier récent</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>Aucun programme de cet ordinateur n&apos;est configuré pour afficher des pages web, le guide de l&apos;utilisateur ne peut donc pas être ouvert.

Le guide est le fichier %1.</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>pièce jointe</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>Ce message est joint à plus de %1 niveaux de profondeur et ne s’ouvre pas ici. Enregistrez-le pour l’ouvrir seul.</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>Les messages joints de ce fichier sont trop volumineux ensemble ; celui-ci ne s’ouvre pas ici. Enregistrez-le pour l’ouvrir seul.</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>Ce message joint ne peut pas être lu.</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>De : %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Aucun expéditeur&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Envoyé : %1</translation>
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
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Agrandir</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurer</translation>
    </message>
</context>
<context>
    <name>DocumentPluginManager</name>
    <message>
        <source>Supported Documents (%1)</source>
        <translation>Documents pris en charge (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
</context>
<context>
    <name>DocumentProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Veuillez patienter</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Traitement en cours...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Rec&amp;hercher :</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>Rechercher dans le message</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>Occurrence précédente (Maj+Entrée)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>Occurrence suivante (Entrée)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Respecter la &amp;casse</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Fermer la barre de recherche (Échap)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Aucune occurrence</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
</context>
<context>
    <name>ICVUpdatesService</name>
    <message>
        <source>Check for Updates</source>
        <translation>Rechercher des mises à jour</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>Vous utilisez la version %1.
Cette version ne contacte aucun serveur de mise à jour.</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(inconnue)</translation>
    </message>
</context>
<context>
    <name>InfoLine</name>
    <message>
        <source>%1 B</source>
        <translation>%1 o</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
</context>
<context>
    <name>InterfaceLocale</name>
    <message>
        <source>en_US</source>
        <comment>The locale of this translation, for writing dates and numbers: a language code, optionally followed by an underscore and a country code (de, fr_FR, pt_BR, ja). Not shown to the user.</comment>
        <translation>fr_FR</translation>
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
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Double page</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>Page simple</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Taille réelle</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Ajuster à la largeur</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Première page</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Dernière page</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>Tout faire pivoter à gauche</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>Tout faire pivoter à droite</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Faire pivoter à gauche</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Faire pivoter à droite</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Signets</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Enregistrer en PDF</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Exporter les images</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>Ajoutez ou faites glisser des fichiers ici</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ Ajouter des fichiers</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>Échec de l&apos;ouverture</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>Le fichier n&apos;existe pas.</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>Aucun module de document ne peut ouvrir ce fichier.</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Erreur de fichier. Impossible d&apos;ouvrir le document.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Ouvrir un document</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Ceci est un dossier, pas un fichier.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Ce n&apos;est pas un fichier ordinaire.</translation>
    </message>
</context>
<context>
    <name>MeetingLine</name>
    <message>
        <source>%1 %2</source>
        <comment>A date, then a time of day: &quot;Monday, 6 May 2024 09:30&quot;</comment>
        <translation>%1 à %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <comment>From the start to the end of a meeting</comment>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>jusqu’au %1</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>Quand&#xa0;: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>Fuseau horaire&#xa0;: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Lieu&#xa0;: %1</translation>
    </message>
    <message>
        <source>Organiser: %1</source>
        <translation>Organisateur&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>MyWebViewWidget</name>
    <message>
        <source>Loading the message…</source>
        <translation>Chargement du message…</translation>
    </message>
    <message>
        <source>%1%</source>
        <comment>zoom level in percent</comment>
        <translation>%1 à %2 {1%?}</translation>
    </message>
</context>
<context>
    <name>OpenFailuresDialog</name>
    <message>
        <source>Open Failed</source>
        <translation>Échec de l&apos;ouverture</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Raison</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n fichier n&apos;a pas pu être ouvert.</numerusform>
            <numerusform>%n fichiers n&apos;ont pas pu être ouverts.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintProgressBar</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Annulation…</translation>
    </message>
    <message>
        <source>Preparing the pages…</source>
        <translation>Préparation des pages…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>Écriture de la page %1 sur %2 du PDF…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>Impression de la page %1 sur %2…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Propriétés</translation>
    </message>
    <message>
        <source>&amp;Of:</source>
        <translation>&amp;De :</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtrer :</translation>
    </message>
    <message>
        <source>Tag, name, type or value</source>
        <translation>Balise, nom, type ou valeur</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>Copier les valeurs complètes des propriétés sélectionnées</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>Pièce jointe %1 : %2</translation>
    </message>
</context>
<context>
    <name>PropertyModel</name>
    <message>
        <source>Tag</source>
        <translation>Balise</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valeur</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Erreur de fichier. Impossible d&apos;ouvrir le document.</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Le fichier n&apos;existe pas.</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Ceci est un dossier, pas un fichier.</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>Vous n&apos;avez pas l&apos;autorisation de lire ce fichier.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>Le fichier n&apos;a pas pu être lu.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Le fichier est vide.</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>Ce n&apos;est ni un fichier TNEF (winmail.dat) ni un message Outlook (.msg).</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>Le fichier est trop endommagé pour être affiché.</translation>
    </message>
</context>
<context>
    <name>TessilViewWidget</name>
    <message>
        <source>From:</source>
        <translation>De&#xa0;:</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Aucun expéditeur&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;Aucun objet&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Enregistrer sous...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>Enregistrer toutes les pièces jointes...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>Ouvrir la pièce jointe</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>«&#xa0;%1&#xa0;» est un programme ou un script. L&apos;ouvrir peut lancer des programmes sur votre ordinateur et l&apos;endommager.

Ne l&apos;ouvrez que si vous faites confiance à l&apos;expéditeur et que vous attendiez ce fichier. L&apos;ouvrir quand même&#xa0;?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>Impossible de créer le fichier temporaire&#xa0;: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Enregistrer la pièce jointe</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>Choisir le dossier d&apos;enregistrement</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>Ce fichier est endommagé&#xa0;; une partie du contenu peut manquer.</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>Masquer cet avis</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>Aucun programme de cet ordinateur n&apos;est configuré pour ouvrir «&#xa0;%1&#xa0;».

Vous pouvez l&apos;enregistrer à la place et l&apos;ouvrir avec le programme de votre choix.</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>À&#xa0;:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>Cc&#xa0;:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Date&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>%n attachment(s)</source>
        <translation>
            <numerusform>%n pièce jointe</numerusform>
            <numerusform>%n pièces jointes</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>Ce programme ne peut pas ouvrir « %1 » dans un onglet à part.

Vous pouvez plutôt l’enregistrer et ouvrir le fichier enregistré.</translation>
    </message>
    <message>
        <source>message</source>
        <translation>message</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Exporter en PDF</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 sur %2</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Pièces jointes</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>Le PDF n&apos;a pas pu être écrit.</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>Le message n&apos;a pas pu être imprimé.</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>Documents PDF (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ViewActions</name>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>&amp;Export as PDF...</source>
        <translation>&amp;Exporter en PDF...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Rechercher...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;avant</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom a&amp;rrière</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Taille réelle</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>&amp;Enregistrer la pièce jointe...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>Enregistrer &amp;toutes les pièces jointes...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>Propr&amp;iétés</translation>
    </message>
</context>
</TS>
