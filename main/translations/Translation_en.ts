<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>More Info</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. All rights reserved.</translation>
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
        <translation>Help</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>User Guide</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>Product FAQ</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Feedback and Support</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Show Log Folder</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Check for Updates</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>No Recent Files</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>attachment</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>This attached message cannot be read.</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>From: %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;No Sender&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Sent: %1</translation>
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
        <translation>Minimize</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
</context>
<context>
    <name>DocumentPluginManager</name>
    <message>
        <source>Supported Documents (%1)</source>
        <translation>Supported Documents (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>All Files (*)</translation>
    </message>
</context>
<context>
    <name>DocumentProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Please Wait</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Working...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Fi&amp;nd:</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>Find in the message</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>Previous match (Shift+Enter)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>Next match (Enter)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Match &amp;case</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Close the find bar (Escape)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>No matches</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
</context>
<context>
    <name>ICVUpdatesService</name>
    <message>
        <source>Check for Updates</source>
        <translation>Check for Updates</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>You are using version %1.
This build does not contact any update server.</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(unknown)</translation>
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
        <translation>en_US</translation>
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
        <translation>View</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Double Page</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>Single Page</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Actual Size</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Fit Width</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>First Page</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Previous Page</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Next Page</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Last Page</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>Rotate All Left</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>Rotate All Right</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Rotate Left</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Rotate Right</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Export Images</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>Add or drag files here</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ Add File(s)</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>Open Failed</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>File does not exist.</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>No document plugin can open this file.</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>File error. Unable to open the document.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Open Document</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>This is a folder, not a file.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>This is not a regular file.</translation>
    </message>
</context>
<context>
    <name>MeetingLine</name>
    <message>
        <source>%1 %2</source>
        <comment>A date, then a time of day: &quot;Monday, 6 May 2024 09:30&quot;</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <comment>From the start to the end of a meeting</comment>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>until %1</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>When: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>Time zone: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Where: %1</translation>
    </message>
    <message>
        <source>Organiser: %1</source>
        <translation>Organiser: %1</translation>
    </message>
</context>
<context>
    <name>MyWebViewWidget</name>
    <message>
        <source>Loading the message…</source>
        <translation>Loading the message…</translation>
    </message>
    <message>
        <source>%1%</source>
        <comment>zoom level in percent</comment>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>OpenFailuresDialog</name>
    <message>
        <source>Open Failed</source>
        <translation>Open Failed</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Reason</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n file could not be opened.</numerusform>
            <numerusform>%n files could not be opened.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintProgressBar</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Cancelling…</translation>
    </message>
    <message>
        <source>Preparing the pages…</source>
        <translation>Preparing the pages…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>Writing page %1 of %2 of the PDF…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>Printing page %1 of %2…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>&amp;Of:</source>
        <translation>&amp;Of:</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>Tag, name, type or value</source>
        <translation>Tag, name, type or value</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>Copy the whole values of the selected properties</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>Attachment %1: %2</translation>
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
        <translation>Type</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>File error. Unable to open the document.</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>This is a folder, not a file.</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>You do not have permission to read this file.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>The file could not be read.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>The file is too damaged to be shown.</translation>
    </message>
</context>
<context>
    <name>TessilViewWidget</name>
    <message>
        <source>From:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;No Sender&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;No Subject&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>Save All Attachments...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>Open Attachment</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>Cannot create temp file: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Save Attachment</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>Cannot write to %1</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>Select Save Directory</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>This file is damaged; some content may be missing.</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>Hide this notice</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>Cc:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Date:</translation>
    </message>
    <message numerus="yes">
        <source>%n attachment(s)</source>
        <translation>
            <numerusform>%n attachment</numerusform>
            <numerusform>%n attachments</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</translation>
    </message>
    <message>
        <source>message</source>
        <translation>message</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Export as PDF</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Attachments</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>The PDF could not be written.</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>The message could not be printed.</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ViewActions</name>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>&amp;Export as PDF...</source>
        <translation>&amp;Export as PDF...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Find...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Actual Size</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>&amp;Save Attachment...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>Save &amp;All Attachments...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>Propert&amp;ies</translation>
    </message>
</context>
</TS>
