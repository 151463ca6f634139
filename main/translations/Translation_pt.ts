<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>Saiba mais</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. Todos os direitos reservados.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versão %1</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Arquivos recentes</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Guia do usuário</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>Perguntas frequentes</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Feedback e suporte</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Mostrar pasta de logs</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Verificar atualizações</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>Nenhum arquivo recente</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>Nenhum programa neste computador está configurado para mostrar páginas da web, por isso o guia do usuário não pode ser aberto.

O guia é o arquivo %1.</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>anexo</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>Esta mensagem está anexada a mais de %1 níveis de profundidade e não abre aqui. Guarde-a para a abrir sozinha.</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>As mensagens anexadas neste ficheiro são demasiado grandes em conjunto; esta não abre aqui. Guarde-a para a abrir sozinha.</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>Esta mensagem anexada não pode ser lida.</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>De: %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;Sem remetente&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Enviada: %1</translation>
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
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
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
        <translation>Documentos suportados (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Todos os arquivos (*)</translation>
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
        <translation>Aguarde</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Processando...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Locali&amp;zar:</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>Localizar na mensagem</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>Ocorrência anterior (Shift+Enter)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>Próxima ocorrência (Enter)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Diferenciar &amp;maiúsculas</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Fechar a barra de localização (Esc)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Nenhuma ocorrência</translation>
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
        <translation>Verificar atualizações</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>Você está usando a versão %1.
Esta versão não se conecta a nenhum servidor de atualizações.</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(desconhecida)</translation>
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
        <translation>pt_BR</translation>
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
        <translation>Exibir</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Página dupla</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>Página única</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Reduzir</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Tamanho real</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Ajustar à largura</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Primeira página</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Próxima página</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Última página</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>Girar tudo para a esquerda</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>Girar tudo para a direita</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Girar para a esquerda</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Girar para a direita</translation>
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
        <translation>Salvar como PDF</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>Exportar imagens</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Pesquisar</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>Adicione ou arraste arquivos para cá</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ Adicionar arquivo(s)</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>Falha ao abrir</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>O arquivo não existe.</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>Nenhum plug-in de documentos consegue abrir este arquivo.</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Erro de arquivo. Não foi possível abrir o documento.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Abrir documento</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Isto é uma pasta, não um arquivo.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Este não é um arquivo comum.</translation>
    </message>
</context>
<context>
    <name>MeetingLine</name>
    <message>
        <source>%1 %2</source>
        <comment>A date, then a time of day: &quot;Monday, 6 May 2024 09:30&quot;</comment>
        <translation>%1 às %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <comment>From the start to the end of a meeting</comment>
        <translation>%1 até %2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>até %1</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>Quando: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>Fuso horário: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>Local: %1</translation>
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
        <translation>Carregando a mensagem…</translation>
    </message>
    <message>
        <source>%1%</source>
        <comment>zoom level in percent</comment>
        <translation>%1 às %2 {1%?}</translation>
    </message>
</context>
<context>
    <name>OpenFailuresDialog</name>
    <message>
        <source>Open Failed</source>
        <translation>Falha ao abrir</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Arquivo</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n arquivo não pôde ser aberto.</numerusform>
            <numerusform>%n arquivos não puderam ser abertos.</numerusform>
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
        <translation>Preparando as páginas…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>Gravando a página %1 de %2 do PDF…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>Imprimindo a página %1 de %2…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>Propriedades</translation>
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
        <translation>Marca, nome, tipo ou valor</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>Copiar os valores completos das propriedades selecionadas</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Mensagem</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>Anexo %1: %2</translation>
    </message>
</context>
<context>
    <name>PropertyModel</name>
    <message>
        <source>Tag</source>
        <translation>Marca</translation>
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
        <translation>Valor</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>Erro de arquivo. Não foi possível abrir o documento.</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>O arquivo não existe.</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>Isto é uma pasta, não um arquivo.</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>Você não tem permissão para ler este arquivo.</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>Não foi possível ler o arquivo.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>O arquivo está vazio.</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>Este não é um arquivo TNEF (winmail.dat) nem uma mensagem do Outlook (.msg).</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>O arquivo está danificado demais para ser exibido.</translation>
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
        <translation>&lt;Sem remetente&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;Sem assunto&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Salvar como...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>Salvar todos os anexos...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>Abrir anexo</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>&quot;%1&quot; é um programa ou script. Abri-lo pode executar programas no seu computador e danificá-lo.

Abra-o somente se você confia no remetente e esperava este arquivo. Abrir mesmo assim?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>Não foi possível criar o arquivo temporário: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Salvar anexo</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>Não foi possível gravar em %1</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>Selecionar pasta de destino</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>Este arquivo está danificado; parte do conteúdo pode estar faltando.</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>Ocultar este aviso</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>Nenhum programa neste computador está configurado para abrir &quot;%1&quot;.

Você pode salvá-lo e abri-lo com um programa de sua escolha.</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Para:</translation>
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
            <numerusform>%n anexo</numerusform>
            <numerusform>%n anexos</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>Este programa não consegue abrir &quot;%1&quot; num separador próprio.

Pode guardá-lo e abrir o ficheiro guardado.</translation>
    </message>
    <message>
        <source>message</source>
        <translation>mensagem</translation>
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
        <translation>Anexos</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>Não foi possível gravar o PDF.</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>Não foi possível imprimir a mensagem.</translation>
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
        <translation>&amp;Localizar...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Ampliar</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Reduzir</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>Tamanho &amp;real</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>&amp;Salvar anexo...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>Salvar &amp;todos os anexos...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>Propr&amp;iedades</translation>
    </message>
</context>
</TS>
