<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>Acerca de Veltrano Quorvia</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>Saber más</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. Todos los derechos reservados.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Archivos recientes</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Guía del usuario</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>Preguntas frecuentes</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Comentarios y soporte</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Mostrar carpeta de registros</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de Veltrano Quorvia</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>No hay archivos recientes</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>Ningún programa de este equipo está configurado para mostrar páginas web, así que no se puede abrir la guía del usuario.

La guía es el archivo %1.</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>adjunto</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>Este mensaje está adjunto a más de %1 niveles de profundidad y no se abre aquí. Guárdelo para abrirlo por separado.</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>Los mensajes adjuntos de este archivo son demasiado grandes en conjunto; este no se abre aquí. Guárdelo para abrirlo por separado.</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>Este mensaje adjunto no se puede leer.</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>De: %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Sin remitente&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Enviado: %1</translation>
    </message>
</context>
<context>
    <name>CustomWindowFrame</name>
    <message>
        <source>Menu</source>
        <translation>Menú</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurar</translation>
    </message>
</context>
<context>
    <name>DocumentPluginManager</name>
    <message>
        <source>Supported Documents (%1)</source>
        <translation>Documentos compatibles (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
</context>
<context>
    <name>DocumentProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Espere, por favor</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Procesando...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>&amp;Buscar:</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>Buscar en el mensaje</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>Coincidencia anterior (Mayús+Intro)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>Coincidencia siguiente (Intro)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Coincidir &amp;mayúsculas</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Cerrar la barra de búsqueda (Esc)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Sin coincidencias</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
</context>
<context>
    <name>ICVUpdatesService</name>
    <message>
        <source>Check for Updates</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>Está usando la versión %1.
Esta versión no se conecta a ningún servidor de actualizaciones.</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(desconocida)</translation>
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
        <translation>es_ES</translation>
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
        <translation>Ver</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Página doble</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>Página única</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Tamaño real</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Ajustar al ancho</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Primera página</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Página siguiente</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Última página</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>Girar todo a la izquierda</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>Girar todo a la derecha</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Girar a la izquierda</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Girar a la derecha</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Guardar como PDF</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Exportar imágenes</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>Añada o arrastre archivos aquí</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ Añadir archivo(s)</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>Error al abrir</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>El archivo no existe.</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>Ningún complemento de documentos puede abrir este archivo.</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Error de archivo. No se puede abrir el documento.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Abrir documento</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Esto es una carpeta, no un archivo.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Esto no es un archivo normal.</translation>
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
        <translation>%1 a %2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>hasta el %1</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>Cuándo: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>Zona horaria: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Dónde: %1</translation>
    </message>
    <message>
        <source>Organiser: %1</source>
        <translation>Organizador: %1</translation>
    </message>
</context>
<context>
    <name>MyWebViewWidget</name>
    <message>
        <source>Loading the message…</source>
        <translation>Cargando el mensaje…</translation>
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
        <translation>Error al abrir</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>No se pudo abrir %n archivo.</numerusform>
            <numerusform>No se pudieron abrir %n archivos.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintProgressBar</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Cancelando…</translation>
    </message>
    <message>
        <source>Preparing the pages…</source>
        <translation>Preparando las páginas…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>Escribiendo la página %1 de %2 del PDF…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>Imprimiendo la página %1 de %2…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Propiedades</translation>
    </message>
    <message>
        <source>&amp;Of:</source>
        <translation>&amp;De:</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtrar:</translation>
    </message>
    <message>
        <source>Tag, name, type or value</source>
        <translation>Etiqueta, nombre, tipo o valor</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>Copiar los valores completos de las propiedades seleccionadas</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Mensaje</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>Adjunto %1: %2</translation>
    </message>
</context>
<context>
    <name>PropertyModel</name>
    <message>
        <source>Tag</source>
        <translation>Etiqueta</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Error de archivo. No se puede abrir el documento.</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>El archivo no existe.</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Esto es una carpeta, no un archivo.</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>No tiene permiso para leer este archivo.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>No se pudo leer el archivo.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>El archivo está vacío.</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>Este no es ni un archivo TNEF (winmail.dat) ni un mensaje de Outlook (.msg).</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>El archivo está demasiado dañado para mostrarse.</translation>
    </message>
</context>
<context>
    <name>TessilViewWidget</name>
    <message>
        <source>From:</source>
        <translation>De:</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Sin remitente&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;Sin asunto&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Guardar como...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>Guardar todos los archivos adjuntos...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>Abrir archivo adjunto</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>«%1» es un programa o script. Abrirlo puede ejecutar programas en su equipo y dañarlo.

Ábralo solo si confía en el remitente y esperaba este archivo. ¿Desea abrirlo de todos modos?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>No se puede crear el archivo temporal: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Guardar archivo adjunto</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>Seleccionar carpeta de destino</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>Este archivo está dañado; puede faltar parte del contenido.</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>Ocultar este aviso</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>Ningún programa de este equipo está configurado para abrir «%1».

Puede guardarlo y abrirlo con el programa que prefiera.</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Para:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>CC:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Fecha:</translation>
    </message>
    <message numerus="yes">
        <source>%n attachment(s)</source>
        <translation>
            <numerusform>%n archivo adjunto</numerusform>
            <numerusform>%n archivos adjuntos</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>Este programa no puede abrir &quot;%1&quot; en una pestaña propia.

Puede guardarlo y abrir el archivo guardado.</translation>
    </message>
    <message>
        <source>message</source>
        <translation>mensaje</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>Exportar como PDF</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Página %1 de %2</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Adjuntos</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>No se pudo escribir el PDF.</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>No se pudo imprimir el mensaje.</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>Documentos PDF (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ViewActions</name>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>&amp;Export as PDF...</source>
        <translation>&amp;Exportar como PDF...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Buscar...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Ampliar</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Reducir</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>Tamaño &amp;real</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>&amp;Guardar adjunto...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>Guardar &amp;todos los adjuntos...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>Propi&amp;edades</translation>
    </message>
</context>
</TS>
