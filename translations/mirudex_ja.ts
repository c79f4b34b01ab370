<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AddDictionaryDialog</name>
    <message>
        <source>Dictionary file</source>
        <translation>辞書ファイル</translation>
    </message>
</context>
<context>
    <name>KanjiWindow</name>
    <message>
        <source>Kanji</source>
        <translation>漢字</translation>
    </message>
    <message>
        <source>On</source>
        <translation>音読み</translation>
    </message>
    <message>
        <source>Kun</source>
        <translation>訓読み</translation>
    </message>
    <message>
        <source>Strokes</source>
        <translation>画数</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>意味</translation>
    </message>
</context>
<context>
    <name>Mirudex</name>
    <message>
        <source>Loading Dictionary...</source>
        <translation>辞書を読み込んでいます...</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>検索しています...</translation>
    </message>
    <message>
        <source>Kanji</source>
        <translation>漢字</translation>
    </message>
    <message>
        <source>The kanji of the search text with their readings and meanings; Enter searches words with the selected kanji</source>
        <translation>検索した文字列の漢字と、その読みと意味。Enter で選んだ漢字を含む単語を検索します</translation>
    </message>
    <message>
        <source>Radical lookup</source>
        <translation>部首検索</translation>
    </message>
    <message>
        <source>Radicals to find kanji by their parts</source>
        <translation>部首から漢字を探します</translation>
    </message>
    <message>
        <source>Search results</source>
        <translation>検索結果</translation>
    </message>
    <message>
        <source>The dictionary entries found: word, reading and meanings</source>
        <translation>見つかった辞書の項目（単語・読み・意味）</translation>
    </message>
    <message>
        <source>Study list</source>
        <translation>学習リスト</translation>
    </message>
    <message>
        <source>The entries kept for study</source>
        <translation>学習用に残した項目</translation>
    </message>
    <message>
        <source>Import JMdict</source>
        <translation>JMdict の取り込み</translation>
    </message>
    <message>
        <source>Keep the glosses in this language (as JMdict names it):</source>
        <translation>残す訳語の言語（JMdict での名前）:</translation>
    </message>
    <message>
        <source>Checking... %1%</source>
        <translation>確認しています... %1%</translation>
    </message>
    <message>
        <source>Indexing...</source>
        <translation>索引を作成しています...</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>取り込んでいます...</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>ダウンロードしています...</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>読み込んでいます...</translation>
    </message>
    <message>
        <source>Mirudex is free software under the GNU General Public License, version 3 or later, and comes with no warranty.
EDICT, ENAMDICT, KANJIDIC, RADKFILE and JMdict are the property of the Electronic Dictionary Research and Development Group, and are used in conformance with the Group&apos;s licence:
https://www.edrdg.org/edrdg/licence.html</source>
        <translation>Mirudex はフリーソフトウェアです。GNU 一般公衆利用許諾書（GPL）バージョン 3 以降の下で配布され、一切の保証はありません。
EDICT、ENAMDICT、KANJIDIC、RADKFILE、JMdict は Electronic Dictionary Research and Development Group の財産であり、同グループのライセンスに従って使用しています:
https://www.edrdg.org/edrdg/licence.html</translation>
    </message>
    <message>
        <source>The page was not found where Mirudex looks for it:
%1</source>
        <translation>Mirudex が探した場所にページが見つかりませんでした:
%1</translation>
    </message>
    <message>
        <source>Mirudex could not open the page.

It is the file
%1

Open it in your web browser.</source>
        <translation>Mirudex はページを開けませんでした。

ページは次のファイルです:
%1

Web ブラウザーで開いてください。</translation>
    </message>
    <message>
        <source>Mirudex could not open
%1

No program on this system opens such addresses.</source>
        <translation>Mirudex は次のアドレスを開けませんでした:
%1

このシステムには、このようなアドレスを開くプログラムがありません。</translation>
    </message>
    <message>
        <source>About Mirudex</source>
        <translation>Mirudex について</translation>
    </message>
    <message>
        <source>&amp;Okay</source>
        <translation>OK(&amp;O)</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>バージョン: %1</translation>
    </message>
    <message>
        <source>Homepage:</source>
        <translation>ホームページ:</translation>
    </message>
    <message>
        <source>Web site:</source>
        <translation>Web サイト:</translation>
    </message>
    <message>
        <source>Contact:</source>
        <translation>連絡先:</translation>
    </message>
    <message>
        <source>(Press ESC to stop)</source>
        <translation>（Esc キーで中止）</translation>
    </message>
    <message>
        <source>Radicals</source>
        <translation>部首</translation>
    </message>
    <message>
        <source>Strokes: %1</source>
        <translation>画数: %1</translation>
    </message>
    <message>
        <source>Frequency: %1 / 2501</source>
        <translation>頻度: %1 / 2501</translation>
    </message>
    <message>
        <source>On</source>
        <translation>音</translation>
    </message>
    <message>
        <source>Kun</source>
        <translation>訓</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>意味</translation>
    </message>
    <message>
        <source>Search...</source>
        <translation>検索...</translation>
    </message>
    <message>
        <source>This kanji</source>
        <translation>この漢字</translation>
    </message>
    <message>
        <source>Words starting with this kanji</source>
        <translation>この漢字で始まる単語</translation>
    </message>
    <message>
        <source>Words ending with this kanji</source>
        <translation>この漢字で終わる単語</translation>
    </message>
    <message>
        <source>Words with this kanji anywhere</source>
        <translation>この漢字を含む単語</translation>
    </message>
    <message>
        <source>Copy...</source>
        <translation>コピー...</translation>
    </message>
    <message>
        <source>This kanji&apos;s On readings</source>
        <translation>この漢字の音読み</translation>
    </message>
    <message>
        <source>This kanji&apos;s Kun readings</source>
        <translation>この漢字の訓読み</translation>
    </message>
    <message>
        <source>This kanji&apos;s Nanori readings</source>
        <translation>この漢字の名乗り</translation>
    </message>
    <message>
        <source>This kanji&apos;s Radical readings</source>
        <translation>この漢字の部首名</translation>
    </message>
    <message>
        <source>This kanji&apos;s meanings</source>
        <translation>この漢字の意味</translation>
    </message>
    <message>
        <source>All info on this kanji</source>
        <translation>この漢字のすべての情報</translation>
    </message>
    <message>
        <source>-Search for kanji-</source>
        <translation>-漢字を検索-</translation>
    </message>
    <message>
        <source>Toggle his radical</source>
        <translation>この部首の選択を切り替え</translation>
    </message>
    <message>
        <source>(Clear radicals)</source>
        <translation>（部首の選択を解除）</translation>
    </message>
    <message>
        <source>Right-click the dictionaries to use.</source>
        <translation>使う辞書を右クリックで選んでください。</translation>
    </message>
    <message>
        <source>(All)</source>
        <translation>（すべて）</translation>
    </message>
    <message>
        <source>(None)</source>
        <translation>（なし）</translation>
    </message>
    <message>
        <source>-done-</source>
        <translation>-完了-</translation>
    </message>
    <message>
        <source>Import JMdict...</source>
        <translation>JMdict を取り込む...</translation>
    </message>
    <message>
        <source>Download Current Dictionary...</source>
        <translation>最新の辞書をダウンロード...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Add Dictionary...</source>
        <translation>辞書を追加(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Open Study List...</source>
        <translation>学習リストを開く(&amp;O)...</translation>
    </message>
    <message>
        <source>Import Study List...</source>
        <translation>学習リストを取り込む...</translation>
    </message>
    <message>
        <source>&amp;Save Study List</source>
        <translation>学習リストを保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save Study List &amp;As...</source>
        <translation>名前を付けて学習リストを保存(&amp;A)...</translation>
    </message>
    <message>
        <source>Close Study List</source>
        <translation>学習リストを閉じる</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Dictionaries</source>
        <translation>辞書(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>オプション(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Settings...</source>
        <translation>設定(&amp;S)...</translation>
    </message>
    <message>
        <source>Always on &amp;Top</source>
        <translation>常に手前に表示(&amp;T)</translation>
    </message>
    <message>
        <source>Check for &amp;Updates...</source>
        <translation>更新を確認(&amp;U)...</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>ウィンドウ(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Radical Lookup</source>
        <translation>部首検索(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Study List</source>
        <translation>学習リスト(&amp;S)</translation>
    </message>
    <message>
        <source>Reading &amp;View</source>
        <translation>読みの表示(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;User Guide</source>
        <translation>ユーザーガイド(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Mirudex について(&amp;A)...</translation>
    </message>
    <message>
        <source>Please select a file to save to.</source>
        <translation>保存先のファイルを選んでください。</translation>
    </message>
    <message>
        <source>Please select a file to open.</source>
        <translation>開くファイルを選んでください。</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Watch the Clipboard</source>
        <translation>クリップボードを監視</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>隠す</translation>
    </message>
    <message>
        <source>&amp;Word</source>
        <translation>単語(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Kana</source>
        <translation>かな(&amp;K)</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>情報(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Meaning</source>
        <translation>意味(&amp;M)</translation>
    </message>
    <message>
        <source>Word &amp;length</source>
        <translation>単語の長さ(&amp;L)</translation>
    </message>
    <message>
        <source>Ka&amp;na length</source>
        <translation>かなの長さ(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Relevance</source>
        <translation>関連度(&amp;R)</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>上</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>下</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Result Window Header Bars</source>
        <translation>結果ウィンドウの見出し</translation>
    </message>
    <message>
        <source>Select a radio button to move that header item.  &apos;Top&apos; is the top header bar.  &apos;Bottom&apos; is the bottom one.  &apos;None&apos; doesn&apos;t show that item.</source>
        <translation>ラジオボタンを選ぶと、その見出し項目が移動します。「上」は上の見出し、「下」は下の見出しです。「なし」を選ぶとその項目は表示されません。</translation>
    </message>
    <message>
        <source>The kanji in this word</source>
        <translation>この単語の漢字</translation>
    </message>
    <message>
        <source>Words starting with this word</source>
        <translation>この単語で始まる単語</translation>
    </message>
    <message>
        <source>Words ending with this word</source>
        <translation>この単語で終わる単語</translation>
    </message>
    <message>
        <source>Words with this word anywhere</source>
        <translation>この単語を含む単語</translation>
    </message>
    <message>
        <source>This word</source>
        <translation>この単語</translation>
    </message>
    <message>
        <source>This word&apos;s kana</source>
        <translation>この単語のかな</translation>
    </message>
    <message>
        <source>This word&apos;s meanings</source>
        <translation>この単語の意味</translation>
    </message>
    <message>
        <source>All info on this word</source>
        <translation>この単語のすべての情報</translation>
    </message>
    <message>
        <source>Add to study list</source>
        <translation>学習リストに追加</translation>
    </message>
    <message>
        <source>Remove	Del</source>
        <translation>削除	Del</translation>
    </message>
    <message>
        <source>Undo Remove	Ctrl+Z</source>
        <translation>削除を元に戻す	Ctrl+Z</translation>
    </message>
    <message>
        <source>Copy with readings</source>
        <translation>読みを付けてコピー</translation>
    </message>
    <message>
        <source>This system cannot convert text to or from %1.</source>
        <translation>このシステムでは %1 との間で文字列を変換できません。</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英語</translation>
    </message>
    <message>
        <source>Kanji information</source>
        <translation>漢字情報</translation>
    </message>
    <message>
        <source>Automatic language</source>
        <translation>言語を自動判定</translation>
    </message>
    <message>
        <source>Text at the beginning</source>
        <translation>前方一致</translation>
    </message>
    <message>
        <source>Text in the middle</source>
        <translation>部分一致</translation>
    </message>
    <message>
        <source>Text at the end</source>
        <translation>後方一致</translation>
    </message>
    <message>
        <source>Exact text</source>
        <translation>完全一致</translation>
    </message>
    <message>
        <source>Match multiple substrings</source>
        <translation>複数の部分文字列に一致するものを検索</translation>
    </message>
    <message>
        <source>Words only</source>
        <translation>単語単位のみ</translation>
    </message>
    <message>
        <source>Kana insensitive</source>
        <translation>ひらがな・カタカナを区別しない</translation>
    </message>
    <message>
        <source>Reverse conjugation</source>
        <translation>活用形から検索</translation>
    </message>
    <message>
        <source>Romaji to kana</source>
        <translation>ローマ字をかなに変換</translation>
    </message>
    <message>
        <source>Show the converted string</source>
        <translation>変換後の文字列を表示</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Random word</source>
        <translation>ランダムな単語</translation>
    </message>
    <message>
        <source>Random kanji</source>
        <translation>ランダムな漢字</translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation>変換</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>文字コード</translation>
    </message>
    <message>
        <source>The text encoding of copies and pastes</source>
        <translation>コピーと貼り付けに使う文字コード</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>結果数</translation>
    </message>
    <message>
        <source>The most entries a search shows; empty or 0 for all</source>
        <translation>1 回の検索で表示する最大件数（空欄か 0 ですべて）</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>C&amp;ut</source>
        <translation>切り取り(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>貼り付け(&amp;P)</translation>
    </message>
    <message>
        <source>Search text</source>
        <translation>検索文字列</translation>
    </message>
    <message>
        <source>Type kana, kanji, romaji or English and press Enter; Ctrl+Space lists recent searches</source>
        <translation>かな・漢字・ローマ字・英語を入力して Enter を押します。Ctrl+Space で最近の検索を一覧表示します</translation>
    </message>
    <message>
        <source>Recent searches</source>
        <translation>最近の検索</translation>
    </message>
    <message>
        <source>Reading view</source>
        <translation>読みの表示</translation>
    </message>
    <message>
        <source>The searched text word by word; Left and Right choose a word and search it</source>
        <translation>検索した文を単語ごとに表示します。左右の矢印キーで単語を選んで検索します</translation>
    </message>
    <message>
        <source>Search for...</source>
        <translation>検索する語を入力...</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>EDICT (one headword a line)</source>
        <translation>EDICT（1 行に見出し語 1 つ）</translation>
    </message>
    <message>
        <source>EDICT2 (several forms, entry ids)</source>
        <translation>EDICT2（複数の表記、項目 ID 付き）</translation>
    </message>
    <message>
        <source>Add Dictionary</source>
        <translation>辞書の追加</translation>
    </message>
    <message>
        <source>(Click on Browse to pick a dictionary file)</source>
        <translation>（「参照」を押して辞書ファイルを選んでください）</translation>
    </message>
    <message>
        <source>(Description for the dictionary)</source>
        <translation>（辞書の説明）</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>参照(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>ファイル(&amp;F):</translation>
    </message>
    <message>
        <source>&amp;Encoding:</source>
        <translation>文字コード(&amp;E):</translation>
    </message>
    <message>
        <source>F&amp;ormat:</source>
        <translation>形式(&amp;O):</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>説明(&amp;D):</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Change Desciption</source>
        <translation>説明の変更</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>ファイル:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>説明:</translation>
    </message>
    <message>
        <source>&amp;New description:</source>
        <translation>新しい説明(&amp;N):</translation>
    </message>
    <message>
        <source>Mirudex Options</source>
        <translation>Mirudex の設定</translation>
    </message>
    <message>
        <source>Misc. Options</source>
        <translation>その他の設定</translation>
    </message>
    <message>
        <source>Dictionaries</source>
        <translation>辞書</translation>
    </message>
    <message>
        <source>Search Window</source>
        <translation>検索ウィンドウ</translation>
    </message>
    <message>
        <source>Recent History</source>
        <translation>検索履歴</translation>
    </message>
    <message>
        <source>Kanji Window</source>
        <translation>漢字ウィンドウ</translation>
    </message>
    <message>
        <source>Result Window</source>
        <translation>結果ウィンドウ</translation>
    </message>
    <message>
        <source>Radical Lookup</source>
        <translation>部首検索</translation>
    </message>
    <message>
        <source>EDICT Copy</source>
        <translation>EDICT のコピー</translation>
    </message>
    <message>
        <source>Note: Any changes made here immediately take effect.  There is no &apos;undo&apos; button, so if you want to change something back, you must manually do it.</source>
        <translation>注意: ここでの変更はすぐに反映されます。「元に戻す」ボタンはないので、元に戻したいときは手で設定し直してください。</translation>
    </message>
    <message>
        <source>&amp;All Done</source>
        <translation>完了(&amp;A)</translation>
    </message>
    <message>
        <source>Use &amp;index files (.mxi) to load the dictionaries quickly</source>
        <translation>索引ファイル（.mxi）を使って辞書をすばやく読み込む(&amp;I)</translation>
    </message>
    <message>
        <source>This takes effect the next time the dictionaries are loaded. Without index files, the .mxi files beside the dictionaries may be deleted.</source>
        <translation>この設定は次に辞書を読み込むときに反映されます。索引ファイルを使わない場合、辞書の横にある .mxi ファイルは削除してもかまいません。</translation>
    </message>
    <message>
        <source>&amp;Change Description</source>
        <translation>説明の変更(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>Delete removes a dictionary from this list only: its file is not deleted.</source>
        <translation>「削除」はこの一覧から辞書を外すだけで、ファイルそのものは削除しません。</translation>
    </message>
    <message>
        <source>%1: the file has no header line.</source>
        <translation>%1: ファイルに見出し行がありません。</translation>
    </message>
    <message>
        <source>Kanji: %1</source>
        <translation>漢字: %1</translation>
    </message>
    <message>
        <source>&amp;Kanji:</source>
        <translation>漢字(&amp;K):</translation>
    </message>
    <message>
        <source>&amp;On:</source>
        <translation>音(&amp;O):</translation>
    </message>
    <message>
        <source>K&amp;un:</source>
        <translation>訓(&amp;U):</translation>
    </message>
    <message>
        <source>&amp;Meaning:</source>
        <translation>意味(&amp;M):</translation>
    </message>
    <message>
        <source>&amp;Word:</source>
        <translation>単語(&amp;W):</translation>
    </message>
    <message>
        <source>&amp;Kana:</source>
        <translation>かな(&amp;K):</translation>
    </message>
    <message>
        <source>&amp;Info:</source>
        <translation>情報(&amp;I):</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>フォント</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>色</translation>
    </message>
    <message>
        <source>Background (&amp;1)</source>
        <translation>背景 1(&amp;1)</translation>
    </message>
    <message>
        <source>Background (&amp;2)</source>
        <translation>背景 2(&amp;2)</translation>
    </message>
    <message>
        <source>Border (ou&amp;tside):</source>
        <translation>枠（外側）(&amp;T):</translation>
    </message>
    <message>
        <source>Border (insi&amp;de):</source>
        <translation>枠（内側）(&amp;D):</translation>
    </message>
    <message>
        <source>Wi&amp;ndow:</source>
        <translation>ウィンドウ(&amp;N):</translation>
    </message>
    <message>
        <source>&amp;Compact rows: word, reading and first meaning on one line</source>
        <translation>行を詰めて表示：単語・読み・最初の意味を 1 行に(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Remember the window&apos;s size and position</source>
        <translation>ウィンドウの大きさと位置を記憶する(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;x:</source>
        <translation>x(&amp;X):</translation>
    </message>
    <message>
        <source>&amp;y:</source>
        <translation>y(&amp;Y):</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>幅(&amp;W):</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>高さ(&amp;H):</translation>
    </message>
    <message>
        <source>Show the &amp;first-time messages at start-up</source>
        <translation>起動時に初回用のメッセージを表示する(&amp;F)</translation>
    </message>
    <message>
        <source>R&amp;OMAji mode: show readings in romaji</source>
        <translation>ローマ字モード：読みをローマ字で表示する(&amp;O)</translation>
    </message>
    <message>
        <source>Keep Mirudex in the &amp;tray when its window is closed</source>
        <translation>ウィンドウを閉じても Mirudex をトレイに残す(&amp;T)</translation>
    </message>
    <message>
        <source>Miscellaneous Options</source>
        <translation>その他の設定</translation>
    </message>
    <message>
        <source>Interface font (header bars, tool bars):</source>
        <translation>インターフェイスのフォント（見出し・ツールバー）:</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>フォント(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Text Color</source>
        <translation>文字の色(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Window Color</source>
        <translation>ウィンドウの色(&amp;W)</translation>
    </message>
    <message>
        <source>Always &amp;keep the keyboard focus in the search box</source>
        <translation>キーボードのフォーカスを常に検索欄に置く(&amp;K)</translation>
    </message>
    <message>
        <source>Show the &amp;help text in the search box at start-up</source>
        <translation>起動時に検索欄にヘルプを表示する(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Paste copied text into the search box</source>
        <translation>コピーした文字列を検索欄に貼り付ける(&amp;P)</translation>
    </message>
    <message>
        <source>Paste highlighted text (the primary &amp;selection) into the search box</source>
        <translation>選択した文字列（プライマリ選択）を検索欄に貼り付ける(&amp;S)</translation>
    </message>
    <message>
        <source>... and search for it at &amp;once</source>
        <translation>…そしてすぐに検索する(&amp;O)</translation>
    </message>
    <message>
        <source>The Recent History List</source>
        <translation>検索履歴</translation>
    </message>
    <message>
        <source>Keep a &amp;history of searches</source>
        <translation>検索の履歴を残す(&amp;H)</translation>
    </message>
    <message>
        <source>Keep the history from one &amp;run to the next</source>
        <translation>次回の起動まで履歴を残す(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Most entries:</source>
        <translation>最大件数(&amp;M):</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>適用(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Clear History</source>
        <translation>履歴を消去(&amp;C)</translation>
    </message>
    <message>
        <source>Radical Lookup Options</source>
        <translation>部首検索の設定</translation>
    </message>
    <message>
        <source>&amp;Select Radical: CTRL+&lt;click&gt;</source>
        <translation>部首の選択: Ctrl+クリック(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation>書式(&amp;F):</translation>
    </message>
    <message>
        <source>Between &amp;info markers:</source>
        <translation>情報マーカーの区切り(&amp;I):</translation>
    </message>
    <message>
        <source>Between &amp;meanings:</source>
        <translation>意味の区切り(&amp;M):</translation>
    </message>
    <message>
        <source>Between &amp;entries:</source>
        <translation>項目の区切り(&amp;E):</translation>
    </message>
    <message>
        <source>Copying EDICT Entries</source>
        <translation>EDICT 項目のコピー</translation>
    </message>
    <message>
        <source>Format words: %word %kana %meaning %info. Texts are kept between { and }, which are added when missing.</source>
        <translation>書式に使える語: %word %kana %meaning %info。{ と } で囲んだ文字列はそのまま残ります（ない場合は補われます）。</translation>
    </message>
    <message>
        <source>A&amp;pply
(You must click this)</source>
        <translation>適用(&amp;P)
（必ず押してください）</translation>
    </message>
    <message>
        <source>Could not connect to the update server, so Mirudex could not check for updates. Check the Internet connection and try again.</source>
        <translation>更新サーバーに接続できなかったため、更新を確認できませんでした。インターネット接続を確かめてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The update server could not prove that it is the real one (its certificate was not accepted), so Mirudex did not check for updates.</source>
        <translation>更新サーバーが本物であることを確認できなかったため（証明書が受け入れられませんでした）、更新を確認しませんでした。</translation>
    </message>
    <message>
        <source>The update server did not send a list of updates, so Mirudex could not check for updates. Try again later.</source>
        <translation>更新サーバーから更新の一覧が届かなかったため、更新を確認できませんでした。しばらくしてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>No updates found</source>
        <translation>更新は見つかりませんでした</translation>
    </message>
    <message>
        <source>Mirudex Updater</source>
        <translation>Mirudex の更新</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>The updates the server offers</source>
        <translation>サーバーが提供している更新</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>The files of the chosen updates</source>
        <translation>選んだ更新のファイル</translation>
    </message>
    <message>
        <source>The following updates apply to this version:</source>
        <translation>このバージョンには次の更新があります:</translation>
    </message>
    <message>
        <source>The following files will be downloaded:</source>
        <translation>次のファイルをダウンロードします:</translation>
    </message>
    <message>
        <source>Press ESCAPE to stop checking for updates...</source>
        <translation>更新の確認を中止するには Esc キーを押してください...</translation>
    </message>
    <message>
        <source>Found updates</source>
        <translation>更新が見つかりました</translation>
    </message>
    <message>
        <source>There was an error when opening the file.</source>
        <translation>ファイルを開くときにエラーが起きました。</translation>
    </message>
    <message>
        <source>At least one file failed.</source>
        <translation>ダウンロードに失敗したファイルがあります。</translation>
    </message>
    <message>
        <source>All files downloaded OKAY!</source>
        <translation>すべてのファイルをダウンロードしました。</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>お知らせ</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>お知らせ:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Error: iconv</source>
        <translation>エラー: iconv</translation>
    </message>
    <message>
        <source>Error: dictionary encoding</source>
        <translation>エラー: 辞書の文字コード</translation>
    </message>
    <message>
        <source>Save Study List</source>
        <translation>学習リストの保存</translation>
    </message>
    <message>
        <source>Updates complete</source>
        <translation>更新完了</translation>
    </message>
    <message>
        <source>IME -on-</source>
        <translation>IME -オン-</translation>
    </message>
    <message>
        <source>IME -off-</source>
        <translation>IME -オフ-</translation>
    </message>
    <message>
        <source>Searching...
</source>
        <translation>検索しています...
</translation>
    </message>
    <message>
        <source>Searching for Kanji...</source>
        <translation>漢字を検索しています...</translation>
    </message>
    <message>
        <source>Searching in dictionary &apos;%S&apos;...</source>
        <translation>辞書「%S」を検索しています...</translation>
    </message>
    <message>
        <source>Search complete (%i results) %s</source>
        <translation>検索完了（%i 件） %s</translation>
    </message>
    <message>
        <source>Search complete (%i results)</source>
        <translation>検索完了（%i 件）</translation>
    </message>
    <message>
        <source>Search aborted (%i results)</source>
        <translation>検索を中止しました（%i 件）</translation>
    </message>
    <message>
        <source>Radical Search complete (%i results)</source>
        <translation>部首検索完了（%i 件）</translation>
    </message>
    <message>
        <source>Loading KANJIDIC...</source>
        <translation>KANJIDIC を読み込んでいます...</translation>
    </message>
    <message>
        <source>Pre-loading EDICTs...</source>
        <translation>EDICT を準備しています...</translation>
    </message>
    <message>
        <source>Pre-loading EDICTs... OKAY</source>
        <translation>EDICT を準備しています... 完了</translation>
    </message>
    <message>
        <source>Loading EDICT: %S...</source>
        <translation>EDICT を読み込んでいます: %S...</translation>
    </message>
    <message>
        <source>EDICT: %S loaded</source>
        <translation>EDICT を読み込みました: %S</translation>
    </message>
    <message>
        <source>EDICT (%S) Loaded.</source>
        <translation>EDICT（%S）を読み込みました。</translation>
    </message>
    <message>
        <source>Okay!!</source>
        <translation>準備完了！</translation>
    </message>
    <message>
        <source>Making index: %S...</source>
        <translation>索引を作成しています: %S...</translation>
    </message>
    <message>
        <source>Loading studylist...</source>
        <translation>学習リストを読み込んでいます...</translation>
    </message>
    <message>
        <source>Studylist loaded.</source>
        <translation>学習リストを読み込みました。</translation>
    </message>
    <message>
        <source>Studylist loading... aborted.</source>
        <translation>学習リストの読み込みを中止しました。</translation>
    </message>
    <message>
        <source>Checking server for updates... (%S)...</source>
        <translation>更新をサーバーに確認しています...（%S）...</translation>
    </message>
    <message>
        <source>Getting file (%S) from (%S)...</source>
        <translation>ファイル（%S）を（%S）から取得しています...</translation>
    </message>
    <message>
        <source>Getting file (%S) from (%S)... FAILED!</source>
        <translation>ファイル（%S）を（%S）から取得しています... 失敗しました！</translation>
    </message>
    <message>
        <source>Getting file (%S) from (%S)... OKAY!</source>
        <translation>ファイル（%S）を（%S）から取得しています... 完了！</translation>
    </message>
    <message>
        <source>The file name (%S) was refused.</source>
        <translation>ファイル名（%S）は受け付けられませんでした。</translation>
    </message>
    <message>
        <source>The list gives no SHA-256 for %S; it is not installed.</source>
        <translation>一覧に %S の SHA-256 がないため、インストールしません。</translation>
    </message>
    <message>
        <source>CRC for %S FAILED.</source>
        <translation>%S の CRC が一致しませんでした。</translation>
    </message>
    <message>
        <source>SHA-256 for %S FAILED.</source>
        <translation>%S の SHA-256 が一致しませんでした。</translation>
    </message>
    <message>
        <source>Couldn&apos;t create a new options file.</source>
        <translation>新しい設定ファイルを作成できませんでした。</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this dictionary?</source>
        <translation>この辞書を本当に削除しますか？</translation>
    </message>
    <message>
        <source>There is still a search/dictionary-load going on.  %s() will not open a new one.</source>
        <translation>検索か辞書の読み込みがまだ実行中です。%s() は新しく開始しません。</translation>
    </message>
    <message>
        <source>The dictionary &apos;%S&apos; (%S) is 2 GB or larger. Mirudex can only use dictionaries smaller than 2 GB, so it goes on without it.</source>
        <translation>辞書「%S」（%S）は 2 GB 以上あります。Mirudex は 2 GB 未満の辞書しか使えないため、この辞書を使わずに続けます。</translation>
    </message>
    <message>
        <source>The dictionary &apos;%S&apos; (%S) could not be opened: %S.

Mirudex goes on without it.</source>
        <translation>辞書「%S」（%S）を開けませんでした: %S。

Mirudex はこの辞書を使わずに続けます。</translation>
    </message>
    <message>
        <source>This file: %S, is not a correct index file.

This could be because it is an older version.  In any case, the file will not work.

Mirudex will NOT use it as an index file.  Do you want to erase the file and have it be rewritten correctly?</source>
        <translation>このファイル（%S）は正しい索引ファイルではありません。

古いバージョンのものかもしれません。いずれにしても、このファイルは使えません。

Mirudex はこれを索引ファイルとして使いません。ファイルを消して、正しく作り直しますか？</translation>
    </message>
    <message>
        <source>The encoding &apos;%S&apos; of the dictionary &apos;%S&apos; (%S) is not known, so none of its %i lines could be converted (the first of them is line %i).

The dictionary is not used. Please check its encoding in the settings.</source>
        <translation>文字コード「%S」（辞書「%S」、%S）は不明なため、%i 行のどれも変換できませんでした（最初の行は %i 行目です）。

この辞書は使いません。設定で辞書の文字コードを確かめてください。</translation>
    </message>
    <message>
        <source>%i lines of the dictionary &apos;%S&apos; (%S) could not be converted from the encoding &apos;%S&apos;; the first of them is line %i.

The dictionary is not used. Please check its encoding in the settings.</source>
        <translation>%i 行（辞書「%S」、%S）を文字コード「%S」から変換できませんでした。最初の行は %i 行目です。

この辞書は使いません。設定で辞書の文字コードを確かめてください。</translation>
    </message>
    <message>
        <source>%i lines of the dictionary &apos;%S&apos; (%S) could not be converted from the encoding &apos;%S&apos;; the first of them is line %i.

Those lines are left out. Please check the dictionary&apos;s encoding in the settings.</source>
        <translation>%i 行（辞書「%S」、%S）を文字コード「%S」から変換できませんでした。最初の行は %i 行目です。

それらの行は除きました。設定で辞書の文字コードを確かめてください。</translation>
    </message>
    <message>
        <source>The character &apos;%s&apos; (U+%04X) cannot be written in %S.

Nothing was copied: the clipboard keeps what it held.</source>
        <translation>文字「%s」（U+%04X）は %S では書けません。

何もコピーしませんでした。クリップボードの内容はそのままです。</translation>
    </message>
    <message>
        <source>The character &apos;%s&apos; (U+%04X) cannot be written in %S.

Only the text before it was copied to the clipboard.</source>
        <translation>文字「%s」（U+%04X）は %S では書けません。

その文字より前の文字列だけをクリップボードにコピーしました。</translation>
    </message>
    <message>
        <source>Mirudex could not save %s to the file %s:

%s.

The file has been left as it was; the changes of this run are not in it.</source>
        <translation>Mirudex は%sをファイル %s に保存できませんでした:

%s。

ファイルは元のままです。今回の変更は保存されていません。</translation>
    </message>
    <message>
        <source>The study list file %s was not read completely: %s.

Saving replaces it with the %i entries of the study list, and what could not be read is lost.

Save anyway?</source>
        <translation>学習リストのファイル %s を最後まで読めませんでした: %s。

保存すると、ファイルは学習リストの %i 項目に置き換わり、読めなかった部分は失われます。

それでも保存しますか？</translation>
    </message>
    <message>
        <source>Couldn&apos;t open Updates.mxf to log the update.</source>
        <translation>Updates.mxf を開けなかったため、更新を記録できませんでした。</translation>
    </message>
    <message>
        <source>Right is -1</source>
        <translation>Right が -1 です</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>単語</translation>
    </message>
    <message>
        <source>Kana</source>
        <translation>かな</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>Relevance</source>
        <translation>関連度</translation>
    </message>
    <message>
        <source>Warning:</source>
        <translation>警告:</translation>
    </message>
    <message>
        <source>(no text to search for)</source>
        <translation>（検索する文字列がありません）</translation>
    </message>
    <message>
        <source>Search text error</source>
        <translation>検索文字列のエラー</translation>
    </message>
    <message>
        <source>Reading...</source>
        <translation>読み取っています...</translation>
    </message>
    <message>
        <source>Reading aborted</source>
        <translation>読み取りを中止しました</translation>
    </message>
    <message>
        <source>Loading Markers...</source>
        <translation>マーカーを読み込んでいます...</translation>
    </message>
    <message>
        <source>Markers loaded.</source>
        <translation>マーカーを読み込みました。</translation>
    </message>
    <message>
        <source>Loading RADKFILE...</source>
        <translation>RADKFILE を読み込んでいます...</translation>
    </message>
    <message>
        <source>RADKFILE loaded.</source>
        <translation>RADKFILE を読み込みました。</translation>
    </message>
    <message>
        <source>Mirudex is ready to go.</source>
        <translation>Mirudex の準備ができました。</translation>
    </message>
    <message>
        <source>Loading Dictionary: %s...</source>
        <translation>辞書を読み込んでいます: %s...</translation>
    </message>
    <message>
        <source>Dictionary loading... aborted.</source>
        <translation>辞書の読み込みを中止しました。</translation>
    </message>
    <message>
        <source>Dictionary loading... failed.</source>
        <translation>辞書の読み込みに失敗しました。</translation>
    </message>
    <message>
        <source>Dictionary loaded.</source>
        <translation>辞書を読み込みました。</translation>
    </message>
    <message>
        <source>(Radical Info) :: %c :: Strokes: %i :: %s</source>
        <translation>（部首情報） :: %c :: 画数: %i :: %s</translation>
    </message>
    <message>
        <source>Please select a JMdict file to import.</source>
        <translation>取り込む JMdict ファイルを選んでください。</translation>
    </message>
    <message>
        <source>Please select a dictionary to use.</source>
        <translation>使う辞書を選んでください。</translation>
    </message>
    <message>
        <source>Download Current Dictionary</source>
        <translation>最新の辞書のダウンロード</translation>
    </message>
    <message>
        <source>This is the first time that Mirudex has been opened.</source>
        <translation>Mirudex を初めて起動しました。</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before loading a dictionary.
</source>
        <translation>辞書を読み込む前に、検索や辞書の読み込みが終わるまでお待ちください。
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before switching dictionaries on or off.
</source>
        <translation>辞書のオン・オフを切り替える前に、検索や辞書の読み込みが終わるまでお待ちください。
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before installing a dictionary.
</source>
        <translation>辞書をインストールする前に、検索や辞書の読み込みが終わるまでお待ちください。
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before changing the settings.
</source>
        <translation>設定を変更する前に、検索や辞書の読み込みが終わるまでお待ちください。
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before changing a description.
</source>
        <translation>説明を変更する前に、検索や辞書の読み込みが終わるまでお待ちください。
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before deleting a dictionary.
</source>
        <translation>辞書を削除する前に、検索や辞書の読み込みが終わるまでお待ちください。
</translation>
    </message>
    <message>
        <source>Please wait for any searches or dictionary-loadings to complete
before attempting to update.</source>
        <translation>更新する前に、検索や辞書の読み込みが
終わるまでお待ちください。</translation>
    </message>
    <message>
        <source>The window position settings were incorrect.

They have been restored to the defaults.</source>
        <translation>ウィンドウの位置の設定が正しくありませんでした。

既定の値に戻しました。</translation>
    </message>
    <message>
        <source>The Divider settings were incorrect.

They have been restored to the defaults.</source>
        <translation>区切りの設定が正しくありませんでした。

既定の値に戻しました。</translation>
    </message>
    <message>
        <source>This is probably a Mirudex Index (.mxi) file.  Make sure that this is really what you want.</source>
        <translation>これは Mirudex の索引ファイル（.mxi）のようです。本当にこのファイルでよいか確かめてください。</translation>
    </message>
    <message>
        <source>File:
%s

This file looks like it has an extention.
Make sure that this is what you want.</source>
        <translation>ファイル:
%s

このファイルには拡張子があるようです。
このファイルでよいか確かめてください。</translation>
    </message>
    <message>
        <source>File:
%s

The options cannot hold a path that contains &quot;::&quot;.  Please rename the file or its folder.</source>
        <translation>ファイル:
%s

設定には「::」を含むパスを保存できません。ファイルかフォルダーの名前を変えてください。</translation>
    </message>
    <message>
        <source>Mirudex will download the current dictionary from
%S

and, once it has arrived whole and sound, make it the dictionary &apos;%S&apos;.  Go on?</source>
        <translation>Mirudex は最新の辞書を次の場所からダウンロードします:
%S

すべて正しく届いたら、辞書「%S」として使います。続けますか？</translation>
    </message>
    <message>
        <source>No font installed on this system has kana and kanji, so Japanese text will show as empty boxes.

Install a Japanese font, for example with
    sudo apt install fonts-ipafont-mincho
(or fonts-noto-cjk, or fonts-vlgothic), and start Mirudex again.</source>
        <translation>このシステムには、かなと漢字を含むフォントが入っていないため、日本語の文字が空の四角で表示されます。

日本語フォントをインストールしてください。たとえば:
    sudo apt install fonts-ipafont-mincho
（または fonts-noto-cjk、fonts-vlgothic）。その後、Mirudex をもう一度起動してください。</translation>
    </message>
    <message>
        <source>Are you tired of this message?
YES: never show it again.
NO: show it next time, too.</source>
        <translation>このメッセージはもう結構ですか？
はい: 今後は表示しません。
いいえ: 次回も表示します。</translation>
    </message>
    <message>
        <source>Mirudex found no radical file, so the Radical Lookup window stays empty.

It comes with Debian&apos;s xjdic package. Install it and make Mirudex&apos;s copy:

     sudo apt install xjdic
     iconv -f EUC-JP -t SHIFT_JIS /var/lib/xjdic/radkfile &gt; &apos;%S/radkfile.dat&apos;

and start Mirudex again.</source>
        <translation>部首ファイルが見つからないため、部首検索ウィンドウは空のままです。

部首ファイルは Debian の xjdic パッケージに含まれています。インストールして、Mirudex 用の写しを作ってください:

     sudo apt install xjdic
     iconv -f EUC-JP -t SHIFT_JIS /var/lib/xjdic/radkfile &gt; &apos;%S/radkfile.dat&apos;

その後、Mirudex をもう一度起動してください。</translation>
    </message>
    <message>
        <source>   Press CAPSLOCK to toggle the IME.
   English does English searches; Japanese does Japanese searches.

      Japanese searches allow wildcards: _ (any number of characters), ? (just one character).

      English searches behave like Google searches.  Start the search with &quot;s to search for EXACTLY that text

Check for updates &amp; important news often: Options--&gt;Check for Updates.</source>
        <translation>   CapsLock キーで IME のオン・オフを切り替えます。
   「英語」で英語の検索、「日本語」で日本語の検索をします。

      日本語の検索ではワイルドカードが使えます: _（任意の数の文字）、?（1 文字）。

      英語の検索は Web 検索のように動きます。&quot; で始めると、その文字列と完全に一致するものを検索します

更新や重要なお知らせをこまめに確認してください: オプション→更新を確認。</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source>Check out the &amp;site</source>
        <translation>サイトを見る(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Get files</source>
        <translation>ファイルを取得(&amp;G)</translation>
    </message>
    <message>
        <source>The updates have been downloaded.

Please do whatever the instructions said to avoid problems ^_^</source>
        <translation>更新をダウンロードしました。

問題が起きないよう、説明のとおりに作業してください ^_^</translation>
    </message>
    <message>
        <source>Text appears at the beginning</source>
        <translation>文字列が先頭にあるもの（前方一致）</translation>
    </message>
    <message>
        <source>Text appears in the middle</source>
        <translation>文字列が途中にあるもの（部分一致）</translation>
    </message>
    <message>
        <source>Text appears at the end</source>
        <translation>文字列が末尾にあるもの（後方一致）</translation>
    </message>
    <message>
        <source>Search for exact text</source>
        <translation>文字列と完全に一致するものを検索</translation>
    </message>
    <message>
        <source>Convert ROMAji to kana</source>
        <translation>ローマ字をかなに変換</translation>
    </message>
    <message>
        <source>Kana insensitive search</source>
        <translation>ひらがな・カタカナを区別せずに検索</translation>
    </message>
    <message>
        <source>&lt;-- (format)
Convert whatever&apos;s on the clipboard
into (format) format.
UNICODE is the default.</source>
        <translation>&lt;-- （形式）
クリップボードの内容を
（形式）の形式に変換します。
既定は UNICODE です。</translation>
    </message>
    <message>
        <source>(checked)
Only search in the words (~kanji) for the text
(unchecked)
Let Mirudex choose how to search.</source>
        <translation>（オン）
単語（≒漢字表記）の中だけを検索します
（オフ）
検索の方法を Mirudex に任せます。</translation>
    </message>
    <message>
        <source>Force Mirudex to search for this text as Japanese</source>
        <translation>この文字列を必ず日本語として検索します</translation>
    </message>
    <message>
        <source>Force Mirudex to search for this text as English</source>
        <translation>この文字列を必ず英語として検索します</translation>
    </message>
    <message>
        <source>Force Mirudex to search for this text as Kanji information</source>
        <translation>この文字列を必ず漢字情報として検索します</translation>
    </message>
    <message>
        <source>Let Mirudex choose how to search</source>
        <translation>検索の方法を Mirudex に任せます</translation>
    </message>
    <message>
        <source>If checked, this causes Mirudex to attempt to reverse-conjugate whatever word is being searched for.</source>
        <translation>オンにすると、検索する語の活用を元の形に戻して検索します。</translation>
    </message>
    <message>
        <source>Search for a random word</source>
        <translation>ランダムな単語を検索</translation>
    </message>
    <message>
        <source>Search for a random kanji</source>
        <translation>ランダムな漢字を検索</translation>
    </message>
    <message>
        <source>-Results truncated-</source>
        <translation>-表示件数の上限で打ち切りました-</translation>
    </message>
    <message>
        <source>-Nothing in English: searched as Japanese-</source>
        <translation>-英語では見つからず、日本語として検索しました-</translation>
    </message>
    <message>
        <source>-Nothing as typed: searched its dictionary form-</source>
        <translation>-入力どおりでは見つからず、辞書形で検索しました-</translation>
    </message>
    <message>
        <source>-For English, press CAPS LOCK to turn the input method off and type it again-</source>
        <translation>-英語で検索するには、CAPS LOCK で入力方式をオフにして入力し直してください-</translation>
    </message>
    <message>
        <source>IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,
you&apos;ll want to install a Japanese font; none is installed on this system.
For example:
     sudo apt install fonts-ipafont-mincho fonts-ipafont-gothic
</source>
        <translation>Mirudex で日本語が表示されない場合は、
日本語フォントをインストールしてください。このシステムには日本語フォントがありません。
例:
     sudo apt install fonts-ipafont-mincho fonts-ipafont-gothic
</translation>
    </message>
    <message>
        <source>IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,
choose one of the Japanese fonts installed on this system in the settings:
     %1
</source>
        <translation>Mirudex で日本語が表示されない場合は、
このシステムにある次の日本語フォントのどれかを設定で選んでください:
     %1
</translation>
    </message>
    <message>
        <source>Hello!! It would appear that this is your first time using Mirudex.

If you need help, please look at the user guide (Help &gt; User Guide):
     %1

I figure that that&apos;s probably not what you want to do, so I&apos;ll give you
a brief series of dialog boxes to get you up to speed on Mirudex.


If you manage to really mess something up, the easiest way to fix it is
to delete &apos;Options.mxreg&apos; in Mirudex&apos;s working folder,
     %2
and then run Mirudex again.  It will make
itself a new options file with the default settings.


%3

Feel free to check out the toolbar; it has a lot of good options.
Also, play with Mirudex&apos;s settings.  Remember, if you break anything,
just delete the options file.
</source>
        <translation>こんにちは！ Mirudex を使うのは初めてのようですね。

困ったときは、ユーザーガイド（ヘルプ &gt; ユーザーガイド）をご覧ください:
     %1

とはいえ、いきなりガイドを読みたくはないでしょうから、
Mirudex にすぐ慣れられるよう、いくつかのダイアログで簡単に説明します。


設定をすっかりおかしくしてしまったときは、Mirudex の作業フォルダーにある
&apos;Options.mxreg&apos; を削除するのがいちばん簡単な直し方です。
     %2
そのあと Mirudex をもう一度起動すると、
初期設定の新しいオプションファイルが作られます。


%3

ツールバーもぜひ見てみてください。便利なオプションがたくさんあります。
Mirudex の設定もいろいろ試してみましょう。何かを壊してしまっても、
オプションファイルを削除すれば元どおりです。
</translation>
    </message>
    <message>
        <source>ABOUT SEARCHING:
(1)
   Use the IME (use CAPSLOCK to turn it on\off).
   (This guy lets you type in Japanese)

(2)
   Use the old style.
     To search for Japanese text, just type ROMAji or Japanese and press Enter.
          * (You should enable ROMAji conversion for this to work)
          Valid wildcards: _ (anything), and ? (one character).

     To search for English text, type
          EN:EnglishTextHere


ENGLISH SEARCHING:
     NOTE: English act basically like normal search-engine searches
     If you want to search for words with EXACTLY the meaning that you want,
     put your search in quotes.  For example,
          &quot;happy&quot;
     To search using quotes--but NOT searching exactly--but a space before
     the first quotes.
          &lt;space&gt;&quot;to run&quot; program


SEARCH FORCING:
     To force a Japanese search, use:
          JP:JapaneseTextHere
     To force a kanji information search, use:
          KN:Japanese/EnglishTextHere
     To force an English search, use:
          EN:EnglishTextHere
</source>
        <translation>検索について:
(1)
   IME を使います（CAPSLOCK でオン／オフを切り替えます）。
   （IME を使うと日本語で入力できます）

(2)
   昔ながらの方法を使います。
     日本語を検索するには、ローマ字か日本語を入力して Enter を押します。
          * （このためにはローマ字変換をオンにしてください）
          使えるワイルドカード: _（任意の文字列）と ?（任意の 1 文字）。

     英語を検索するには、次のように入力します
          EN:EnglishTextHere


英語の検索:
     注意: 英語の検索は、ふつうの検索エンジンとほぼ同じように働きます。
     意味がぴったりその語と一致するものだけを探したいときは、
     検索語を引用符で囲みます。例:
          &quot;happy&quot;
     引用符を使いつつ完全一致では探さないときは、
     最初の引用符の前に空白を入れます。
          &lt;space&gt;&quot;to run&quot; program


検索の種類の指定:
     日本語の検索にするには:
          JP:JapaneseTextHere
     漢字情報の検索にするには:
          KN:Japanese/EnglishTextHere
     英語の検索にするには:
          EN:EnglishTextHere
</translation>
    </message>
    <message>
        <source>The Studylist:

Mirudex automatically saves your studylist data when Mirudex is closed.
If you haven&apos;t specified a filename, it will use &apos;studylist.default&apos;.
If there&apos;re no study list data, then it won&apos;t do anything.

When you &apos;OPEN&apos; or &apos;SAVE AS&apos; a studylist, then Mirudex will set its
default studylist to that file.

When you &apos;CLOSE&apos; a studylist, Mirudex has no default file, and it will
create &apos;studylist.default&apos; upon exiting if any entries remain in the
studylist.

To take entries off the studylist, select them and press Delete, or
right-click them and choose &apos;Remove&apos;.  Ctrl+Z puts them back.


NOTE:
     The studylist will ONLY work with EUC-JP-formatted dictionaries.
     I will be fixing this in the future, but... not right now.


The History:

Press CTRL+Spacebar to open the history of recently-searched words.
</source>
        <translation>学習リスト:

Mirudex を閉じると、学習リストのデータは自動的に保存されます。
ファイル名を指定していなければ &apos;studylist.default&apos; に保存されます。
学習リストが空のときは何もしません。

学習リストを「開く」か「名前を付けて保存」すると、
Mirudex はそのファイルを既定の学習リストにします。

学習リストを「閉じる」と既定のファイルはなくなり、
終了時に学習リストに項目が残っていれば
&apos;studylist.default&apos; が作られます。

学習リストから項目を外すには、選んで Delete を押すか、
右クリックして「削除」を選びます。Ctrl+Z で元に戻せます。


注意:
     学習リストは EUC-JP 形式の辞書でしか使えません。
     いずれ直すつもりですが、今はまだです。


履歴:

Ctrl+Space を押すと、最近検索した語の履歴が開きます。
</translation>
    </message>
    <message>
        <source>Some options:

The reverse-conjugation option is pretty useful.  It&apos;ll be made much
better in the near future, but it works fairly well right now.


Click on the colored buttons next to &apos;Search&apos; for random words and kanji.


For the result window and studylist, you can modify the headers that
are shown by right-clicking on them or by pressing spacebar when the
mouse is over their windows.


Remember, I know Mirudex inside and out, and a lot of the stuff that
seems really simple and obvious to me is not simple and obvious to
everyone else.  If you have any questions or comments, please send
me an e-mail:
%1
</source>
        <translation>いくつかのオプション:

逆活用のオプションはなかなか便利です。これから大きく改良する予定ですが、
今でもかなりうまく働きます。


「検索」の隣の色付きボタンを押すと、ランダムな単語や漢字が出てきます。


結果ウィンドウと学習リストでは、見出しを右クリックするか、
マウスをウィンドウの上に置いてスペースキーを押すと、
表示する見出しを変えられます。


Mirudex のことは隅々まで知っているつもりですが、
自分には簡単で当たり前に思えることが、
ほかの人にとってもそうだとは限りません。質問や意見があれば、
メールでお知らせください:
%1
</translation>
    </message>
    <message>
        <source>your settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>your study list</source>
        <translation>学習リスト</translation>
    </message>
    <message>
        <source>your search history</source>
        <translation>検索履歴</translation>
    </message>
</context>
<context>
    <name>RadicalWindow</name>
    <message>
        <source>Strokes: %1</source>
        <translation>画数: %1</translation>
    </message>
</context>
<context>
    <name>ResultWindow</name>
    <message>
        <source>Word</source>
        <translation>見出し語</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>読み</translation>
    </message>
    <message>
        <source>Meanings</source>
        <translation>意味</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Pages</source>
        <translation>ページ</translation>
    </message>
</context>
<context>
    <name>SettingsDictionariesPage</name>
    <message>
        <source>Dictionaries</source>
        <translation>辞書</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>Messages</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>Input method</source>
        <translation>入力方式</translation>
    </message>
</context>
</TS>
