<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>More Info</source>
        <translation>詳細情報</translation>
    </message>
    <message>
        <source>© %1 Veltrano. All rights reserved.</source>
        <translation>© %1 Veltrano. 無断複製・転載を禁じます。</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>バージョン %1</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>最近使ったファイル</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>ユーザー ガイド</translation>
    </message>
    <message>
        <source>Product FAQ</source>
        <translation>よくある質問</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>フィードバックとサポート</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>ログフォルダーを表示</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>更新プログラムの確認</translation>
    </message>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>No Recent Files</source>
        <translation>最近使ったファイルはありません</translation>
    </message>
    <message>
        <source>No program on this computer is set up to show web pages, so the user guide cannot be opened.

The guide is the file %1.</source>
        <translation>このコンピューターには Web ページを表示するプログラムが設定されていないため、ユーザー ガイドを開けません。

ガイドはファイル %1 です。</translation>
    </message>
</context>
<context>
    <name>AttachmentModel</name>
    <message>
        <source>attachment</source>
        <translation>添付ファイル</translation>
    </message>
    <message>
        <source>This message is attached more than %1 levels deep and does not open here. Save it to open it on its own.</source>
        <translation>このメッセージは %1 階層より深く添付されているため、ここでは開けません。保存してから単独で開いてください。</translation>
    </message>
    <message>
        <source>The messages attached in this file are too large together; this one does not open here. Save it to open it on its own.</source>
        <translation>このファイルに添付されたメッセージは合計で大きすぎるため、このメッセージはここでは開けません。保存してから単独で開いてください。</translation>
    </message>
    <message>
        <source>This attached message cannot be read.</source>
        <translation>この添付メッセージは読み取れません。</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>差出人: %1</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;差出人なし&gt;</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>送信日時: %1</translation>
    </message>
</context>
<context>
    <name>CustomWindowFrame</name>
    <message>
        <source>Menu</source>
        <translation>メニュー</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>最大化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>元のサイズに戻す</translation>
    </message>
</context>
<context>
    <name>DocumentPluginManager</name>
    <message>
        <source>Supported Documents (%1)</source>
        <translation>対応ドキュメント (%1)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
</context>
<context>
    <name>DocumentProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>お待ちください</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>処理中...</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>検索(&amp;N):</translation>
    </message>
    <message>
        <source>Find in the message</source>
        <translation>メッセージ内を検索</translation>
    </message>
    <message>
        <source>Previous match (Shift+Enter)</source>
        <translation>前の一致 (Shift+Enter)</translation>
    </message>
    <message>
        <source>Next match (Enter)</source>
        <translation>次の一致 (Enter)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>大文字と小文字を区別(&amp;C)</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>検索バーを閉じる (Esc)</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>一致なし</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>ICVUpdatesService</name>
    <message>
        <source>Check for Updates</source>
        <translation>更新プログラムの確認</translation>
    </message>
    <message>
        <source>You are using version %1.
This build does not contact any update server.</source>
        <translation>バージョン %1 を使用しています。
このバージョンは更新サーバーに接続しません。</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(不明)</translation>
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
        <translation>ja_JP</translation>
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
        <translation>表示</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>見開き</translation>
    </message>
    <message>
        <source>Single Page</source>
        <translation>単一ページ</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>実際のサイズ</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>幅に合わせる</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>最初のページ</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>前のページ</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>次のページ</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>最後のページ</translation>
    </message>
    <message>
        <source>Rotate All Left</source>
        <translation>すべて左に回転</translation>
    </message>
    <message>
        <source>Rotate All Right</source>
        <translation>すべて右に回転</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>左に回転</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>右に回転</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>しおり</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>PDF として保存</translation>
    </message>
    <message>
        <source>Export Images</source>
        <translation>画像のエクスポート</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Add or drag files here</source>
        <translation>ファイルを追加するか、ここにドラッグしてください</translation>
    </message>
    <message>
        <source>＋ Add File(s)</source>
        <translation>＋ ファイルを追加</translation>
    </message>
    <message>
        <source>Open Failed</source>
        <translation>開けませんでした</translation>
    </message>
    <message>
        <source>File does not exist.</source>
        <translation>ファイルが存在しません。</translation>
    </message>
    <message>
        <source>No document plugin can open this file.</source>
        <translation>このファイルを開けるドキュメント プラグインがありません。</translation>
    </message>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>ファイル エラーです。ドキュメントを開けません。</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>ドキュメントを開く</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>これはファイルではなくフォルダーです。</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>これは通常のファイルではありません。</translation>
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
        <translation>%1～%2</translation>
    </message>
    <message>
        <source>until %1</source>
        <comment>A meeting or task that has only an end</comment>
        <translation>%1まで</translation>
    </message>
    <message>
        <source>When: %1</source>
        <translation>日時: %1</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <comment>The time zone the meeting was planned in</comment>
        <translation>タイムゾーン: %1</translation>
    </message>
    <message>
        <source>Where: %1</source>
        <translation>場所: %1</translation>
    </message>
    <message>
        <source>Organiser: %1</source>
        <translation>開催者: %1</translation>
    </message>
</context>
<context>
    <name>MyWebViewWidget</name>
    <message>
        <source>Loading the message…</source>
        <translation>メッセージを読み込んでいます…</translation>
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
        <translation>開けませんでした</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>理由</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n 個のファイルを開けませんでした。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PrintProgressBar</name>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>キャンセルしています…</translation>
    </message>
    <message>
        <source>Preparing the pages…</source>
        <translation>ページを準備しています…</translation>
    </message>
    <message>
        <source>Writing page %1 of %2 of the PDF…</source>
        <translation>PDF の %2 ページ中 %1 ページ目を書き込んでいます…</translation>
    </message>
    <message>
        <source>Printing page %1 of %2…</source>
        <translation>%2 ページ中 %1 ページ目を印刷しています…</translation>
    </message>
</context>
<context>
    <name>PropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation>プロパティ</translation>
    </message>
    <message>
        <source>&amp;Of:</source>
        <translation>対象(&amp;O):</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>フィルター(&amp;F):</translation>
    </message>
    <message>
        <source>Tag, name, type or value</source>
        <translation>タグ、名前、型、値</translation>
    </message>
    <message>
        <source>Copy the whole values of the selected properties</source>
        <translation>選択したプロパティの値全体をコピー</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>Attachment %1: %2</source>
        <translation>添付ファイル %1: %2</translation>
    </message>
</context>
<context>
    <name>PropertyModel</name>
    <message>
        <source>Tag</source>
        <translation>タグ</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>値</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>File error. Unable to open the document.</source>
        <translation>ファイル エラーです。ドキュメントを開けません。</translation>
    </message>
</context>
<context>
    <name>TessilPlugin</name>
    <message>
        <source>The file does not exist.</source>
        <translation>ファイルが存在しません。</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>これはファイルではなくフォルダーです。</translation>
    </message>
    <message>
        <source>You do not have permission to read this file.</source>
        <translation>このファイルを読み取る権限がありません。</translation>
    </message>
    <message>
        <source>The file could not be read.</source>
        <translation>ファイルを読み取れませんでした。</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>ファイルが空です。</translation>
    </message>
    <message>
        <source>This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).</source>
        <translation>これは TNEF ファイル (winmail.dat) でも Outlook メッセージ (.msg) でもありません。</translation>
    </message>
    <message>
        <source>The file is too damaged to be shown.</source>
        <translation>ファイルの損傷がひどいため表示できません。</translation>
    </message>
</context>
<context>
    <name>TessilViewWidget</name>
    <message>
        <source>From:</source>
        <translation>差出人:</translation>
    </message>
    <message>
        <source>&lt;No Sender&gt;</source>
        <translation>&lt;差出人なし&gt;</translation>
    </message>
    <message>
        <source>&lt;No Subject&gt;</source>
        <translation>&lt;件名なし&gt;</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>名前を付けて保存...</translation>
    </message>
    <message>
        <source>Save All Attachments...</source>
        <translation>すべての添付ファイルを保存...</translation>
    </message>
    <message>
        <source>Open Attachment</source>
        <translation>添付ファイルを開く</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a program or script. Opening it can run programs on your computer and harm it.

Open it only if you trust the sender and expected this file. Open it anyway?</source>
        <translation>「%1」はプログラムまたはスクリプトです。開くとコンピューター上でプログラムが実行され、コンピューターに損害を与えるおそれがあります。

送信者が信頼でき、このファイルが届く予定だった場合にのみ開いてください。それでも開きますか？</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Cannot create temp file: %1</source>
        <translation>一時ファイルを作成できません: %1</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>添付ファイルの保存</translation>
    </message>
    <message>
        <source>Cannot write to %1</source>
        <translation>%1 に書き込めません</translation>
    </message>
    <message>
        <source>Select Save Directory</source>
        <translation>保存先フォルダーの選択</translation>
    </message>
    <message>
        <source>This file is damaged; some content may be missing.</source>
        <translation>このファイルは破損しています。一部の内容が欠けている可能性があります。</translation>
    </message>
    <message>
        <source>Hide this notice</source>
        <translation>この通知を閉じる</translation>
    </message>
    <message>
        <source>No program on this computer is set up to open &quot;%1&quot;.

You can save it instead and open it with a program of your choice.</source>
        <translation>このコンピューターには「%1」を開くプログラムが設定されていません。

代わりに保存して、お好きなプログラムで開くことができます。</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>宛先:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>CC:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日付:</translation>
    </message>
    <message numerus="yes">
        <source>%n attachment(s)</source>
        <translation>
            <numerusform>%n 個の添付ファイル</numerusform>
        </translation>
    </message>
    <message>
        <source>This program cannot open &quot;%1&quot; in a tab of its own.

You can save it instead and open the saved file.</source>
        <translation>このプログラムでは「%1」を専用のタブで開けません。

代わりに保存し、保存したファイルを開いてください。</translation>
    </message>
    <message>
        <source>message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>Export as PDF</source>
        <translation>PDF としてエクスポート</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>%1 / %2 ページ</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>添付ファイル</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>The PDF could not be written.</source>
        <translation>PDF を書き込めませんでした。</translation>
    </message>
    <message>
        <source>The message could not be printed.</source>
        <translation>メッセージを印刷できませんでした。</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF 文書 (*.pdf)</translation>
    </message>
</context>
<context>
    <name>ViewActions</name>
    <message>
        <source>&amp;Print...</source>
        <translation>印刷(&amp;P)...</translation>
    </message>
    <message>
        <source>&amp;Export as PDF...</source>
        <translation>PDF としてエクスポート(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>検索(&amp;F)...</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>拡大(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>縮小(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>実際のサイズ(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Save Attachment...</source>
        <translation>添付ファイルを保存(&amp;S)...</translation>
    </message>
    <message>
        <source>Save &amp;All Attachments...</source>
        <translation>すべての添付ファイルを保存(&amp;A)...</translation>
    </message>
    <message>
        <source>Propert&amp;ies</source>
        <translation>プロパティ(&amp;I)</translation>
    </message>
</context>
</TS>
