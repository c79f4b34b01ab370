<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AddDictionaryDialog</name>
    <message>
        <source>Dictionary file</source>
        <translation>Wörterbuchdatei</translation>
    </message>
</context>
<context>
    <name>KanjiWindow</name>
    <message>
        <source>Kanji</source>
        <translation>Kanji</translation>
    </message>
    <message>
        <source>On</source>
        <translation>On-Lesung</translation>
    </message>
    <message>
        <source>Kun</source>
        <translation>Kun-Lesung</translation>
    </message>
    <message>
        <source>Strokes</source>
        <translation>Striche</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Bedeutung</translation>
    </message>
</context>
<context>
    <name>Mirudex</name>
    <message>
        <source>Loading Dictionary...</source>
        <translation>Wörterbuch wird geladen...</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>Kanji</source>
        <translation>Kanji</translation>
    </message>
    <message>
        <source>The kanji of the search text with their readings and meanings; Enter searches words with the selected kanji</source>
        <translation>Die Kanji des Suchtexts mit ihren Lesungen und Bedeutungen; Eingabe sucht Wörter mit dem gewählten Kanji</translation>
    </message>
    <message>
        <source>Radical lookup</source>
        <translation>Radikalsuche</translation>
    </message>
    <message>
        <source>Radicals to find kanji by their parts</source>
        <translation>Radikale, um Kanji nach ihren Bestandteilen zu finden</translation>
    </message>
    <message>
        <source>Search results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>The dictionary entries found: word, reading and meanings</source>
        <translation>Die gefundenen Wörterbucheinträge: Wort, Lesung und Bedeutungen</translation>
    </message>
    <message>
        <source>Study list</source>
        <translation>Lernliste</translation>
    </message>
    <message>
        <source>The entries kept for study</source>
        <translation>Die zum Lernen behaltenen Einträge</translation>
    </message>
    <message>
        <source>Import JMdict</source>
        <translation>JMdict importieren</translation>
    </message>
    <message>
        <source>Keep the glosses in this language (as JMdict names it):</source>
        <translation>Übersetzungen in dieser Sprache behalten (wie JMdict sie nennt):</translation>
    </message>
    <message>
        <source>Checking... %1%</source>
        <translation>Wird geprüft... %1%</translation>
    </message>
    <message>
        <source>Indexing...</source>
        <translation>Index wird erstellt...</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>Wird importiert...</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>Wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen...</translation>
    </message>
    <message>
        <source>Mirudex is free software under the GNU General Public License, version 3 or later, and comes with no warranty.
EDICT, ENAMDICT, KANJIDIC, RADKFILE and JMdict are the property of the Electronic Dictionary Research and Development Group, and are used in conformance with the Group&apos;s licence:
https://www.edrdg.org/edrdg/licence.html</source>
        <translation>Mirudex ist freie Software unter der GNU General Public License, Version 3 oder später, und wird ohne jede Gewährleistung bereitgestellt.
EDICT, ENAMDICT, KANJIDIC, RADKFILE und JMdict sind Eigentum der Electronic Dictionary Research and Development Group und werden gemäß der Lizenz der Gruppe verwendet:
https://www.edrdg.org/edrdg/licence.html</translation>
    </message>
    <message>
        <source>The page was not found where Mirudex looks for it:
%1</source>
        <translation>Die Seite wurde dort, wo Mirudex sie sucht, nicht gefunden:
%1</translation>
    </message>
    <message>
        <source>Mirudex could not open the page.

It is the file
%1

Open it in your web browser.</source>
        <translation>Mirudex konnte die Seite nicht öffnen.

Es ist die Datei
%1

Öffnen Sie sie in Ihrem Webbrowser.</translation>
    </message>
    <message>
        <source>Mirudex could not open
%1

No program on this system opens such addresses.</source>
        <translation>Mirudex konnte
%1
nicht öffnen.

Kein Programm auf diesem System öffnet solche Adressen.</translation>
    </message>
    <message>
        <source>About Mirudex</source>
        <translation>Über Mirudex</translation>
    </message>
    <message>
        <source>&amp;Okay</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>Homepage:</source>
        <translation>Homepage:</translation>
    </message>
    <message>
        <source>Web site:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Contact:</source>
        <translation>Kontakt:</translation>
    </message>
    <message>
        <source>(Press ESC to stop)</source>
        <translation>(Esc zum Abbrechen)</translation>
    </message>
    <message>
        <source>Radicals</source>
        <translation>Radikale</translation>
    </message>
    <message>
        <source>Strokes: %1</source>
        <translation>Striche: %1</translation>
    </message>
    <message>
        <source>Frequency: %1 / 2501</source>
        <translation>Häufigkeit: %1 / 2501</translation>
    </message>
    <message>
        <source>On</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Kun</source>
        <translation>Kun</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <source>Search...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>This kanji</source>
        <translation>Dieses Kanji</translation>
    </message>
    <message>
        <source>Words starting with this kanji</source>
        <translation>Wörter, die mit diesem Kanji beginnen</translation>
    </message>
    <message>
        <source>Words ending with this kanji</source>
        <translation>Wörter, die mit diesem Kanji enden</translation>
    </message>
    <message>
        <source>Words with this kanji anywhere</source>
        <translation>Wörter mit diesem Kanji an beliebiger Stelle</translation>
    </message>
    <message>
        <source>Copy...</source>
        <translation>Kopieren...</translation>
    </message>
    <message>
        <source>This kanji&apos;s On readings</source>
        <translation>On-Lesungen dieses Kanji</translation>
    </message>
    <message>
        <source>This kanji&apos;s Kun readings</source>
        <translation>Kun-Lesungen dieses Kanji</translation>
    </message>
    <message>
        <source>This kanji&apos;s Nanori readings</source>
        <translation>Nanori-Lesungen dieses Kanji</translation>
    </message>
    <message>
        <source>This kanji&apos;s Radical readings</source>
        <translation>Radikal-Lesungen dieses Kanji</translation>
    </message>
    <message>
        <source>This kanji&apos;s meanings</source>
        <translation>Bedeutungen dieses Kanji</translation>
    </message>
    <message>
        <source>All info on this kanji</source>
        <translation>Alle Angaben zu diesem Kanji</translation>
    </message>
    <message>
        <source>-Search for kanji-</source>
        <translation>-Kanji suchen-</translation>
    </message>
    <message>
        <source>Toggle his radical</source>
        <translation>Dieses Radikal umschalten</translation>
    </message>
    <message>
        <source>(Clear radicals)</source>
        <translation>(Radikale abwählen)</translation>
    </message>
    <message>
        <source>Right-click the dictionaries to use.</source>
        <translation>Rechtsklick wählt die zu nutzenden Wörterbücher.</translation>
    </message>
    <message>
        <source>(All)</source>
        <translation>(Alle)</translation>
    </message>
    <message>
        <source>(None)</source>
        <translation>(Keine)</translation>
    </message>
    <message>
        <source>-done-</source>
        <translation>-fertig-</translation>
    </message>
    <message>
        <source>Import JMdict...</source>
        <translation>JMdict importieren...</translation>
    </message>
    <message>
        <source>Download Current Dictionary...</source>
        <translation>Aktuelles Wörterbuch herunterladen...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Add Dictionary...</source>
        <translation>Wörterbuch &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Open Study List...</source>
        <translation>Lernliste ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Import Study List...</source>
        <translation>Lernliste importieren...</translation>
    </message>
    <message>
        <source>&amp;Save Study List</source>
        <translation>Lernliste &amp;speichern</translation>
    </message>
    <message>
        <source>Save Study List &amp;As...</source>
        <translation>Lernliste speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Close Study List</source>
        <translation>Lernliste schließen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Dictionaries</source>
        <translation>&amp;Wörterbücher</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Settings...</source>
        <translation>&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>Always on &amp;Top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>Check for &amp;Updates...</source>
        <translation>Nach &amp;Aktualisierungen suchen...</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Radical Lookup</source>
        <translation>&amp;Radikalsuche</translation>
    </message>
    <message>
        <source>&amp;Study List</source>
        <translation>&amp;Lernliste</translation>
    </message>
    <message>
        <source>Reading &amp;View</source>
        <translation>Lese&amp;ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;User Guide</source>
        <translation>&amp;Benutzerhandbuch</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über...</translation>
    </message>
    <message>
        <source>Please select a file to save to.</source>
        <translation>Bitte wählen Sie die Datei, in die gespeichert werden soll.</translation>
    </message>
    <message>
        <source>Please select a file to open.</source>
        <translation>Bitte wählen Sie die zu öffnende Datei.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Watch the Clipboard</source>
        <translation>Zwischenablage beobachten</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>&amp;Word</source>
        <translation>&amp;Wort</translation>
    </message>
    <message>
        <source>&amp;Kana</source>
        <translation>&amp;Kana</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;Meaning</source>
        <translation>&amp;Bedeutung</translation>
    </message>
    <message>
        <source>Word &amp;length</source>
        <translation>Wort&amp;länge</translation>
    </message>
    <message>
        <source>Ka&amp;na length</source>
        <translation>Ka&amp;nalänge</translation>
    </message>
    <message>
        <source>&amp;Relevance</source>
        <translation>&amp;Relevanz</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Result Window Header Bars</source>
        <translation>Kopfleisten des Ergebnisfensters</translation>
    </message>
    <message>
        <source>Select a radio button to move that header item.  &apos;Top&apos; is the top header bar.  &apos;Bottom&apos; is the bottom one.  &apos;None&apos; doesn&apos;t show that item.</source>
        <translation>Wählen Sie ein Optionsfeld, um das Element der Kopfleiste zu verschieben. „Oben“ ist die obere Kopfleiste, „Unten“ die untere. „Keine“ blendet das Element aus.</translation>
    </message>
    <message>
        <source>The kanji in this word</source>
        <translation>Die Kanji in diesem Wort</translation>
    </message>
    <message>
        <source>Words starting with this word</source>
        <translation>Wörter, die mit diesem Wort beginnen</translation>
    </message>
    <message>
        <source>Words ending with this word</source>
        <translation>Wörter, die mit diesem Wort enden</translation>
    </message>
    <message>
        <source>Words with this word anywhere</source>
        <translation>Wörter mit diesem Wort an beliebiger Stelle</translation>
    </message>
    <message>
        <source>This word</source>
        <translation>Dieses Wort</translation>
    </message>
    <message>
        <source>This word&apos;s kana</source>
        <translation>Kana dieses Worts</translation>
    </message>
    <message>
        <source>This word&apos;s meanings</source>
        <translation>Bedeutungen dieses Worts</translation>
    </message>
    <message>
        <source>All info on this word</source>
        <translation>Alle Angaben zu diesem Wort</translation>
    </message>
    <message>
        <source>Add to study list</source>
        <translation>Zur Lernliste hinzufügen</translation>
    </message>
    <message>
        <source>Remove	Del</source>
        <translation>Entfernen	Entf</translation>
    </message>
    <message>
        <source>Undo Remove	Ctrl+Z</source>
        <translation>Entfernen rückgängig	Strg+Z</translation>
    </message>
    <message>
        <source>Copy with readings</source>
        <translation>Mit Lesungen kopieren</translation>
    </message>
    <message>
        <source>This system cannot convert text to or from %1.</source>
        <translation>Dieses System kann Text nicht in oder aus %1 umwandeln.</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japanisch</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>Kanji information</source>
        <translation>Kanji-Angaben</translation>
    </message>
    <message>
        <source>Automatic language</source>
        <translation>Sprache automatisch</translation>
    </message>
    <message>
        <source>Text at the beginning</source>
        <translation>Text am Anfang</translation>
    </message>
    <message>
        <source>Text in the middle</source>
        <translation>Text in der Mitte</translation>
    </message>
    <message>
        <source>Text at the end</source>
        <translation>Text am Ende</translation>
    </message>
    <message>
        <source>Exact text</source>
        <translation>Genauer Text</translation>
    </message>
    <message>
        <source>Match multiple substrings</source>
        <translation>Mehrere Teiltexte finden</translation>
    </message>
    <message>
        <source>Words only</source>
        <translation>Nur ganze Wörter</translation>
    </message>
    <message>
        <source>Kana insensitive</source>
        <translation>Hiragana/Katakana gleich behandeln</translation>
    </message>
    <message>
        <source>Reverse conjugation</source>
        <translation>Konjugation zurückführen</translation>
    </message>
    <message>
        <source>Romaji to kana</source>
        <translation>Romaji in Kana</translation>
    </message>
    <message>
        <source>Show the converted string</source>
        <translation>Umgewandelten Text zeigen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Random word</source>
        <translation>Zufälliges Wort</translation>
    </message>
    <message>
        <source>Random kanji</source>
        <translation>Zufälliges Kanji</translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation>Umwandlung</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kodierung</translation>
    </message>
    <message>
        <source>The text encoding of copies and pastes</source>
        <translation>Die Textkodierung beim Kopieren und Einfügen</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>The most entries a search shows; empty or 0 for all</source>
        <translation>Höchstzahl der Einträge einer Suche; leer oder 0 für alle</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>C&amp;ut</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Search text</source>
        <translation>Suchtext</translation>
    </message>
    <message>
        <source>Type kana, kanji, romaji or English and press Enter; Ctrl+Space lists recent searches</source>
        <translation>Kana, Kanji, Romaji oder Englisch eingeben und Eingabe drücken; Strg+Leertaste zeigt die letzten Suchen</translation>
    </message>
    <message>
        <source>Recent searches</source>
        <translation>Letzte Suchen</translation>
    </message>
    <message>
        <source>Reading view</source>
        <translation>Leseansicht</translation>
    </message>
    <message>
        <source>The searched text word by word; Left and Right choose a word and search it</source>
        <translation>Der gesuchte Text Wort für Wort; Links und Rechts wählen ein Wort und suchen es</translation>
    </message>
    <message>
        <source>Search for...</source>
        <translation>Suchen nach...</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>EDICT (one headword a line)</source>
        <translation>EDICT (ein Stichwort je Zeile)</translation>
    </message>
    <message>
        <source>EDICT2 (several forms, entry ids)</source>
        <translation>EDICT2 (mehrere Schreibungen, Eintrags-IDs)</translation>
    </message>
    <message>
        <source>Add Dictionary</source>
        <translation>Wörterbuch hinzufügen</translation>
    </message>
    <message>
        <source>(Click on Browse to pick a dictionary file)</source>
        <translation>(Auf „Durchsuchen“ klicken, um eine Wörterbuchdatei zu wählen)</translation>
    </message>
    <message>
        <source>(Description for the dictionary)</source>
        <translation>(Beschreibung des Wörterbuchs)</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>Da&amp;tei:</translation>
    </message>
    <message>
        <source>&amp;Encoding:</source>
        <translation>&amp;Kodierung:</translation>
    </message>
    <message>
        <source>F&amp;ormat:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Change Desciption</source>
        <translation>Beschreibung ändern</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>&amp;New description:</source>
        <translation>&amp;Neue Beschreibung:</translation>
    </message>
    <message>
        <source>Mirudex Options</source>
        <translation>Mirudex-Einstellungen</translation>
    </message>
    <message>
        <source>Misc. Options</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>Dictionaries</source>
        <translation>Wörterbücher</translation>
    </message>
    <message>
        <source>Search Window</source>
        <translation>Suchfenster</translation>
    </message>
    <message>
        <source>Recent History</source>
        <translation>Suchverlauf</translation>
    </message>
    <message>
        <source>Kanji Window</source>
        <translation>Kanji-Fenster</translation>
    </message>
    <message>
        <source>Result Window</source>
        <translation>Ergebnisfenster</translation>
    </message>
    <message>
        <source>Radical Lookup</source>
        <translation>Radikalsuche</translation>
    </message>
    <message>
        <source>EDICT Copy</source>
        <translation>EDICT kopieren</translation>
    </message>
    <message>
        <source>Note: Any changes made here immediately take effect.  There is no &apos;undo&apos; button, so if you want to change something back, you must manually do it.</source>
        <translation>Hinweis: Alle Änderungen hier wirken sofort. Es gibt keine Schaltfläche zum Rückgängigmachen; um etwas zurückzustellen, müssen Sie es selbst wieder ändern.</translation>
    </message>
    <message>
        <source>&amp;All Done</source>
        <translation>&amp;Fertig</translation>
    </message>
    <message>
        <source>Use &amp;index files (.mxi) to load the dictionaries quickly</source>
        <translation>&amp;Indexdateien (.mxi) verwenden, um die Wörterbücher schnell zu laden</translation>
    </message>
    <message>
        <source>This takes effect the next time the dictionaries are loaded. Without index files, the .mxi files beside the dictionaries may be deleted.</source>
        <translation>Dies wirkt beim nächsten Laden der Wörterbücher. Ohne Indexdateien dürfen die .mxi-Dateien neben den Wörterbüchern gelöscht werden.</translation>
    </message>
    <message>
        <source>&amp;Change Description</source>
        <translation>Beschreibung ä&amp;ndern</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete removes a dictionary from this list only: its file is not deleted.</source>
        <translation>„Löschen“ entfernt ein Wörterbuch nur aus dieser Liste: Seine Datei wird nicht gelöscht.</translation>
    </message>
    <message>
        <source>%1: the file has no header line.</source>
        <translation>%1: Die Datei hat keine Kopfzeile.</translation>
    </message>
    <message>
        <source>Kanji: %1</source>
        <translation>Kanji: %1</translation>
    </message>
    <message>
        <source>&amp;Kanji:</source>
        <translation>&amp;Kanji:</translation>
    </message>
    <message>
        <source>&amp;On:</source>
        <translation>&amp;On:</translation>
    </message>
    <message>
        <source>K&amp;un:</source>
        <translation>K&amp;un:</translation>
    </message>
    <message>
        <source>&amp;Meaning:</source>
        <translation>&amp;Bedeutung:</translation>
    </message>
    <message>
        <source>&amp;Word:</source>
        <translation>&amp;Wort:</translation>
    </message>
    <message>
        <source>&amp;Kana:</source>
        <translation>K&amp;ana:</translation>
    </message>
    <message>
        <source>&amp;Info:</source>
        <translation>&amp;Info:</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Background (&amp;1)</source>
        <translation>Hintergrund (&amp;1)</translation>
    </message>
    <message>
        <source>Background (&amp;2)</source>
        <translation>Hintergrund (&amp;2)</translation>
    </message>
    <message>
        <source>Border (ou&amp;tside):</source>
        <translation>Rahmen (au&amp;ßen):</translation>
    </message>
    <message>
        <source>Border (insi&amp;de):</source>
        <translation>Rahmen (in&amp;nen):</translation>
    </message>
    <message>
        <source>Wi&amp;ndow:</source>
        <translation>Fen&amp;ster:</translation>
    </message>
    <message>
        <source>&amp;Compact rows: word, reading and first meaning on one line</source>
        <translation>Kompakte &amp;Zeilen: Wort, Lesung und erste Bedeutung in einer Zeile</translation>
    </message>
    <message>
        <source>&amp;Remember the window&apos;s size and position</source>
        <translation>&amp;Größe und Lage des Fensters merken</translation>
    </message>
    <message>
        <source>&amp;x:</source>
        <translation>&amp;x:</translation>
    </message>
    <message>
        <source>&amp;y:</source>
        <translation>&amp;y:</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Setzen</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Breite:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>Show the &amp;first-time messages at start-up</source>
        <translation>Beim Start die Hinweise für die &amp;erste Benutzung zeigen</translation>
    </message>
    <message>
        <source>R&amp;OMAji mode: show readings in romaji</source>
        <translation>R&amp;OMAji-Modus: Lesungen in Romaji zeigen</translation>
    </message>
    <message>
        <source>Keep Mirudex in the &amp;tray when its window is closed</source>
        <translation>Mirudex beim Schließen des Fensters im &amp;Infobereich behalten</translation>
    </message>
    <message>
        <source>Miscellaneous Options</source>
        <translation>Sonstige Einstellungen</translation>
    </message>
    <message>
        <source>Interface font (header bars, tool bars):</source>
        <translation>Schrift der Oberfläche (Kopfleisten, Werkzeugleisten):</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>&amp;Schrift</translation>
    </message>
    <message>
        <source>&amp;Text Color</source>
        <translation>Te&amp;xtfarbe</translation>
    </message>
    <message>
        <source>&amp;Window Color</source>
        <translation>Fensterfar&amp;be</translation>
    </message>
    <message>
        <source>Always &amp;keep the keyboard focus in the search box</source>
        <translation>&amp;Tastaturfokus immer im Suchfeld halten</translation>
    </message>
    <message>
        <source>Show the &amp;help text in the search box at start-up</source>
        <translation>Beim Start den &amp;Hilfetext im Suchfeld zeigen</translation>
    </message>
    <message>
        <source>&amp;Paste copied text into the search box</source>
        <translation>Kopierten Text in das Suchfeld &amp;einfügen</translation>
    </message>
    <message>
        <source>Paste highlighted text (the primary &amp;selection) into the search box</source>
        <translation>Markierten Text (die primäre &amp;Auswahl) in das Suchfeld einfügen</translation>
    </message>
    <message>
        <source>... and search for it at &amp;once</source>
        <translation>... und sofort da&amp;nach suchen</translation>
    </message>
    <message>
        <source>The Recent History List</source>
        <translation>Der Suchverlauf</translation>
    </message>
    <message>
        <source>Keep a &amp;history of searches</source>
        <translation>Einen &amp;Verlauf der Suchen führen</translation>
    </message>
    <message>
        <source>Keep the history from one &amp;run to the next</source>
        <translation>Den Verlauf von einem &amp;Start zum nächsten behalten</translation>
    </message>
    <message>
        <source>&amp;Most entries:</source>
        <translation>Höchstzahl der &amp;Einträge:</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Clear History</source>
        <translation>Verlauf &amp;löschen</translation>
    </message>
    <message>
        <source>Radical Lookup Options</source>
        <translation>Einstellungen der Radikalsuche</translation>
    </message>
    <message>
        <source>&amp;Select Radical: CTRL+&lt;click&gt;</source>
        <translation>Radikal &amp;wählen: Strg+&lt;Klick&gt;</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation>Forma&amp;t:</translation>
    </message>
    <message>
        <source>Between &amp;info markers:</source>
        <translation>Zwischen &amp;Info-Markern:</translation>
    </message>
    <message>
        <source>Between &amp;meanings:</source>
        <translation>Zwischen &amp;Bedeutungen:</translation>
    </message>
    <message>
        <source>Between &amp;entries:</source>
        <translation>Zwischen &amp;Einträgen:</translation>
    </message>
    <message>
        <source>Copying EDICT Entries</source>
        <translation>EDICT-Einträge kopieren</translation>
    </message>
    <message>
        <source>Format words: %word %kana %meaning %info. Texts are kept between { and }, which are added when missing.</source>
        <translation>Platzhalter des Formats: %word %kana %meaning %info. Text zwischen { und } bleibt erhalten; fehlende Klammern werden ergänzt.</translation>
    </message>
    <message>
        <source>A&amp;pply
(You must click this)</source>
        <translation>&amp;Übernehmen
(Unbedingt anklicken)</translation>
    </message>
    <message>
        <source>Could not connect to the update server, so Mirudex could not check for updates. Check the Internet connection and try again.</source>
        <translation>Keine Verbindung zum Aktualisierungsserver, daher konnte Mirudex nicht nach Aktualisierungen suchen. Prüfen Sie die Internetverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The update server could not prove that it is the real one (its certificate was not accepted), so Mirudex did not check for updates.</source>
        <translation>Der Aktualisierungsserver konnte nicht nachweisen, dass er echt ist (sein Zertifikat wurde nicht angenommen), daher hat Mirudex nicht nach Aktualisierungen gesucht.</translation>
    </message>
    <message>
        <source>The update server did not send a list of updates, so Mirudex could not check for updates. Try again later.</source>
        <translation>Der Aktualisierungsserver hat keine Liste der Aktualisierungen gesendet, daher konnte Mirudex nicht nach Aktualisierungen suchen. Versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>No updates found</source>
        <translation>Keine Aktualisierungen gefunden</translation>
    </message>
    <message>
        <source>Mirudex Updater</source>
        <translation>Mirudex-Aktualisierung</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Aktualisierungen</translation>
    </message>
    <message>
        <source>The updates the server offers</source>
        <translation>Die Aktualisierungen, die der Server anbietet</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>The files of the chosen updates</source>
        <translation>Die Dateien der gewählten Aktualisierungen</translation>
    </message>
    <message>
        <source>The following updates apply to this version:</source>
        <translation>Folgende Aktualisierungen gelten für diese Version:</translation>
    </message>
    <message>
        <source>The following files will be downloaded:</source>
        <translation>Folgende Dateien werden heruntergeladen:</translation>
    </message>
    <message>
        <source>Press ESCAPE to stop checking for updates...</source>
        <translation>Esc drücken, um die Suche nach Aktualisierungen abzubrechen...</translation>
    </message>
    <message>
        <source>Found updates</source>
        <translation>Aktualisierungen gefunden</translation>
    </message>
    <message>
        <source>There was an error when opening the file.</source>
        <translation>Beim Öffnen der Datei ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>At least one file failed.</source>
        <translation>Mindestens eine Datei ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>All files downloaded OKAY!</source>
        <translation>Alle Dateien erfolgreich heruntergeladen!</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Hinweis:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error: iconv</source>
        <translation>Fehler: iconv</translation>
    </message>
    <message>
        <source>Error: dictionary encoding</source>
        <translation>Fehler: Kodierung des Wörterbuchs</translation>
    </message>
    <message>
        <source>Save Study List</source>
        <translation>Lernliste speichern</translation>
    </message>
    <message>
        <source>Updates complete</source>
        <translation>Aktualisierung abgeschlossen</translation>
    </message>
    <message>
        <source>IME -on-</source>
        <translation>IME -an-</translation>
    </message>
    <message>
        <source>IME -off-</source>
        <translation>IME -aus-</translation>
    </message>
    <message>
        <source>Searching...
</source>
        <translation>Suche läuft...
</translation>
    </message>
    <message>
        <source>Searching for Kanji...</source>
        <translation>Kanji werden gesucht...</translation>
    </message>
    <message>
        <source>Searching in dictionary &apos;%S&apos;...</source>
        <translation>Suche im Wörterbuch „%S“...</translation>
    </message>
    <message>
        <source>Search complete (%i results) %s</source>
        <translation>Suche abgeschlossen (%i Ergebnisse) %s</translation>
    </message>
    <message>
        <source>Search complete (%i results)</source>
        <translation>Suche abgeschlossen (%i Ergebnisse)</translation>
    </message>
    <message>
        <source>Search aborted (%i results)</source>
        <translation>Suche abgebrochen (%i Ergebnisse)</translation>
    </message>
    <message>
        <source>Radical Search complete (%i results)</source>
        <translation>Radikalsuche abgeschlossen (%i Ergebnisse)</translation>
    </message>
    <message>
        <source>Loading KANJIDIC...</source>
        <translation>KANJIDIC wird geladen...</translation>
    </message>
    <message>
        <source>Pre-loading EDICTs...</source>
        <translation>EDICTs werden vorbereitet...</translation>
    </message>
    <message>
        <source>Pre-loading EDICTs... OKAY</source>
        <translation>EDICTs werden vorbereitet... OK</translation>
    </message>
    <message>
        <source>Loading EDICT: %S...</source>
        <translation>EDICT wird geladen: %S...</translation>
    </message>
    <message>
        <source>EDICT: %S loaded</source>
        <translation>EDICT: %S geladen</translation>
    </message>
    <message>
        <source>EDICT (%S) Loaded.</source>
        <translation>EDICT (%S) geladen.</translation>
    </message>
    <message>
        <source>Okay!!</source>
        <translation>Fertig!</translation>
    </message>
    <message>
        <source>Making index: %S...</source>
        <translation>Index wird erstellt: %S...</translation>
    </message>
    <message>
        <source>Loading studylist...</source>
        <translation>Lernliste wird geladen...</translation>
    </message>
    <message>
        <source>Studylist loaded.</source>
        <translation>Lernliste geladen.</translation>
    </message>
    <message>
        <source>Studylist loading... aborted.</source>
        <translation>Laden der Lernliste abgebrochen.</translation>
    </message>
    <message>
        <source>Checking server for updates... (%S)...</source>
        <translation>Server wird nach Aktualisierungen gefragt... (%S)...</translation>
    </message>
    <message>
        <source>Getting file (%S) from (%S)...</source>
        <translation>Datei (%S) wird von (%S) geholt...</translation>
    </message>
    <message>
        <source>Getting file (%S) from (%S)... FAILED!</source>
        <translation>Datei (%S) wird von (%S) geholt... FEHLGESCHLAGEN!</translation>
    </message>
    <message>
        <source>Getting file (%S) from (%S)... OKAY!</source>
        <translation>Datei (%S) wird von (%S) geholt... OK!</translation>
    </message>
    <message>
        <source>The file name (%S) was refused.</source>
        <translation>Der Dateiname (%S) wurde abgelehnt.</translation>
    </message>
    <message>
        <source>The list gives no SHA-256 for %S; it is not installed.</source>
        <translation>Die Liste nennt keine SHA-256-Summe für %S; die Datei wird nicht installiert.</translation>
    </message>
    <message>
        <source>CRC for %S FAILED.</source>
        <translation>CRC für %S FEHLGESCHLAGEN.</translation>
    </message>
    <message>
        <source>SHA-256 for %S FAILED.</source>
        <translation>SHA-256 für %S FEHLGESCHLAGEN.</translation>
    </message>
    <message>
        <source>Couldn&apos;t create a new options file.</source>
        <translation>Es konnte keine neue Einstellungsdatei angelegt werden.</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete this dictionary?</source>
        <translation>Möchten Sie dieses Wörterbuch wirklich löschen?</translation>
    </message>
    <message>
        <source>There is still a search/dictionary-load going on.  %s() will not open a new one.</source>
        <translation>Es läuft noch eine Suche oder ein Wörterbuch wird geladen. %s() beginnt keine neue.</translation>
    </message>
    <message>
        <source>The dictionary &apos;%S&apos; (%S) is 2 GB or larger. Mirudex can only use dictionaries smaller than 2 GB, so it goes on without it.</source>
        <translation>Das Wörterbuch „%S“ (%S) ist 2 GB groß oder größer. Mirudex kann nur Wörterbücher unter 2 GB verwenden und fährt daher ohne es fort.</translation>
    </message>
    <message>
        <source>The dictionary &apos;%S&apos; (%S) could not be opened: %S.

Mirudex goes on without it.</source>
        <translation>Das Wörterbuch „%S“ (%S) konnte nicht geöffnet werden: %S.

Mirudex fährt ohne es fort.</translation>
    </message>
    <message>
        <source>This file: %S, is not a correct index file.

This could be because it is an older version.  In any case, the file will not work.

Mirudex will NOT use it as an index file.  Do you want to erase the file and have it be rewritten correctly?</source>
        <translation>Diese Datei, %S, ist keine korrekte Indexdatei.

Vielleicht stammt sie von einer älteren Version. Jedenfalls funktioniert die Datei nicht.

Mirudex verwendet sie NICHT als Indexdatei. Möchten Sie die Datei löschen und korrekt neu schreiben lassen?</translation>
    </message>
    <message>
        <source>The encoding &apos;%S&apos; of the dictionary &apos;%S&apos; (%S) is not known, so none of its %i lines could be converted (the first of them is line %i).

The dictionary is not used. Please check its encoding in the settings.</source>
        <translation>Die Kodierung „%S“ des Wörterbuchs „%S“ (%S) ist unbekannt, daher konnte keine seiner %i Zeilen umgewandelt werden (die erste davon ist Zeile %i).

Das Wörterbuch wird nicht verwendet. Bitte prüfen Sie seine Kodierung in den Einstellungen.</translation>
    </message>
    <message>
        <source>%i lines of the dictionary &apos;%S&apos; (%S) could not be converted from the encoding &apos;%S&apos;; the first of them is line %i.

The dictionary is not used. Please check its encoding in the settings.</source>
        <translation>%i Zeilen des Wörterbuchs „%S“ (%S) konnten nicht aus der Kodierung „%S“ umgewandelt werden; die erste davon ist Zeile %i.

Das Wörterbuch wird nicht verwendet. Bitte prüfen Sie seine Kodierung in den Einstellungen.</translation>
    </message>
    <message>
        <source>%i lines of the dictionary &apos;%S&apos; (%S) could not be converted from the encoding &apos;%S&apos;; the first of them is line %i.

Those lines are left out. Please check the dictionary&apos;s encoding in the settings.</source>
        <translation>%i Zeilen des Wörterbuchs „%S“ (%S) konnten nicht aus der Kodierung „%S“ umgewandelt werden; die erste davon ist Zeile %i.

Diese Zeilen werden ausgelassen. Bitte prüfen Sie die Kodierung des Wörterbuchs in den Einstellungen.</translation>
    </message>
    <message>
        <source>The character &apos;%s&apos; (U+%04X) cannot be written in %S.

Nothing was copied: the clipboard keeps what it held.</source>
        <translation>Das Zeichen „%s“ (U+%04X) lässt sich in %S nicht schreiben.

Nichts wurde kopiert: Die Zwischenablage behält ihren Inhalt.</translation>
    </message>
    <message>
        <source>The character &apos;%s&apos; (U+%04X) cannot be written in %S.

Only the text before it was copied to the clipboard.</source>
        <translation>Das Zeichen „%s“ (U+%04X) lässt sich in %S nicht schreiben.

Nur der Text davor wurde in die Zwischenablage kopiert.</translation>
    </message>
    <message>
        <source>Mirudex could not save %s to the file %s:

%s.

The file has been left as it was; the changes of this run are not in it.</source>
        <translation>Mirudex konnte %s nicht in der Datei %s speichern:

%s.

Die Datei ist unverändert geblieben; die Änderungen dieser Sitzung sind nicht darin.</translation>
    </message>
    <message>
        <source>The study list file %s was not read completely: %s.

Saving replaces it with the %i entries of the study list, and what could not be read is lost.

Save anyway?</source>
        <translation>Die Lernlistendatei %s wurde nicht vollständig gelesen: %s.

Speichern ersetzt sie durch die %i Einträge der Lernliste, und was nicht gelesen werden konnte, geht verloren.

Trotzdem speichern?</translation>
    </message>
    <message>
        <source>Couldn&apos;t open Updates.mxf to log the update.</source>
        <translation>Updates.mxf konnte nicht geöffnet werden, um die Aktualisierung zu vermerken.</translation>
    </message>
    <message>
        <source>Right is -1</source>
        <translation>Right ist -1</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>Wort</translation>
    </message>
    <message>
        <source>Kana</source>
        <translation>Kana</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Relevance</source>
        <translation>Relevanz</translation>
    </message>
    <message>
        <source>Warning:</source>
        <translation>Warnung:</translation>
    </message>
    <message>
        <source>(no text to search for)</source>
        <translation>(kein Suchtext)</translation>
    </message>
    <message>
        <source>Search text error</source>
        <translation>Fehler im Suchtext</translation>
    </message>
    <message>
        <source>Reading...</source>
        <translation>Wird gelesen...</translation>
    </message>
    <message>
        <source>Reading aborted</source>
        <translation>Lesen abgebrochen</translation>
    </message>
    <message>
        <source>Loading Markers...</source>
        <translation>Marker werden geladen...</translation>
    </message>
    <message>
        <source>Markers loaded.</source>
        <translation>Marker geladen.</translation>
    </message>
    <message>
        <source>Loading RADKFILE...</source>
        <translation>RADKFILE wird geladen...</translation>
    </message>
    <message>
        <source>RADKFILE loaded.</source>
        <translation>RADKFILE geladen.</translation>
    </message>
    <message>
        <source>Mirudex is ready to go.</source>
        <translation>Mirudex ist bereit.</translation>
    </message>
    <message>
        <source>Loading Dictionary: %s...</source>
        <translation>Wörterbuch wird geladen: %s...</translation>
    </message>
    <message>
        <source>Dictionary loading... aborted.</source>
        <translation>Laden des Wörterbuchs abgebrochen.</translation>
    </message>
    <message>
        <source>Dictionary loading... failed.</source>
        <translation>Laden des Wörterbuchs fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Dictionary loaded.</source>
        <translation>Wörterbuch geladen.</translation>
    </message>
    <message>
        <source>(Radical Info) :: %c :: Strokes: %i :: %s</source>
        <translation>(Radikal) :: %c :: Striche: %i :: %s</translation>
    </message>
    <message>
        <source>Please select a JMdict file to import.</source>
        <translation>Bitte wählen Sie die zu importierende JMdict-Datei.</translation>
    </message>
    <message>
        <source>Please select a dictionary to use.</source>
        <translation>Bitte wählen Sie das zu verwendende Wörterbuch.</translation>
    </message>
    <message>
        <source>Download Current Dictionary</source>
        <translation>Aktuelles Wörterbuch herunterladen</translation>
    </message>
    <message>
        <source>This is the first time that Mirudex has been opened.</source>
        <translation>Mirudex wird zum ersten Mal gestartet.</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before loading a dictionary.
</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind, bevor Sie ein Wörterbuch laden.
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before switching dictionaries on or off.
</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind, bevor Sie Wörterbücher ein- oder ausschalten.
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before installing a dictionary.
</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind, bevor Sie ein Wörterbuch installieren.
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before changing the settings.
</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind, bevor Sie die Einstellungen ändern.
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before changing a description.
</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind, bevor Sie eine Beschreibung ändern.
</translation>
    </message>
    <message>
        <source>Please finish any searches or dictionary-loads before deleting a dictionary.
</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind, bevor Sie ein Wörterbuch löschen.
</translation>
    </message>
    <message>
        <source>Please wait for any searches or dictionary-loadings to complete
before attempting to update.</source>
        <translation>Bitte warten Sie, bis alle Suchen und Ladevorgänge beendet sind,
bevor Sie aktualisieren.</translation>
    </message>
    <message>
        <source>The window position settings were incorrect.

They have been restored to the defaults.</source>
        <translation>Die Einstellungen zur Fensterlage waren fehlerhaft.

Sie wurden auf die Vorgaben zurückgesetzt.</translation>
    </message>
    <message>
        <source>The Divider settings were incorrect.

They have been restored to the defaults.</source>
        <translation>Die Einstellungen der Trennlinien waren fehlerhaft.

Sie wurden auf die Vorgaben zurückgesetzt.</translation>
    </message>
    <message>
        <source>This is probably a Mirudex Index (.mxi) file.  Make sure that this is really what you want.</source>
        <translation>Dies ist wahrscheinlich eine Mirudex-Indexdatei (.mxi). Vergewissern Sie sich, dass Sie wirklich diese wollen.</translation>
    </message>
    <message>
        <source>File:
%s

This file looks like it has an extention.
Make sure that this is what you want.</source>
        <translation>Datei:
%s

Diese Datei scheint eine Endung zu haben.
Vergewissern Sie sich, dass Sie diese wollen.</translation>
    </message>
    <message>
        <source>File:
%s

The options cannot hold a path that contains &quot;::&quot;.  Please rename the file or its folder.</source>
        <translation>Datei:
%s

Die Einstellungen können keinen Pfad speichern, der „::“ enthält. Bitte benennen Sie die Datei oder ihren Ordner um.</translation>
    </message>
    <message>
        <source>Mirudex will download the current dictionary from
%S

and, once it has arrived whole and sound, make it the dictionary &apos;%S&apos;.  Go on?</source>
        <translation>Mirudex lädt das aktuelle Wörterbuch herunter von
%S

und macht es, sobald es vollständig und unversehrt angekommen ist, zum Wörterbuch „%S“. Fortfahren?</translation>
    </message>
    <message>
        <source>No font installed on this system has kana and kanji, so Japanese text will show as empty boxes.

Install a Japanese font, for example with
    sudo apt install fonts-ipafont-mincho
(or fonts-noto-cjk, or fonts-vlgothic), and start Mirudex again.</source>
        <translation>Keine Schrift auf diesem System enthält Kana und Kanji, daher erscheint japanischer Text als leere Kästchen.

Installieren Sie eine japanische Schrift, zum Beispiel mit
    sudo apt install fonts-ipafont-mincho
(oder fonts-noto-cjk oder fonts-vlgothic), und starten Sie Mirudex erneut.</translation>
    </message>
    <message>
        <source>Are you tired of this message?
YES: never show it again.
NO: show it next time, too.</source>
        <translation>Möchten Sie diese Nachricht nicht mehr sehen?
JA: nie wieder zeigen.
NEIN: auch beim nächsten Mal zeigen.</translation>
    </message>
    <message>
        <source>Mirudex found no radical file, so the Radical Lookup window stays empty.

It comes with Debian&apos;s xjdic package. Install it and make Mirudex&apos;s copy:

     sudo apt install xjdic
     iconv -f EUC-JP -t SHIFT_JIS /var/lib/xjdic/radkfile &gt; &apos;%S/radkfile.dat&apos;

and start Mirudex again.</source>
        <translation>Mirudex hat keine Radikaldatei gefunden, daher bleibt das Fenster der Radikalsuche leer.

Sie gehört zum Debian-Paket xjdic. Installieren Sie es und legen Sie die Kopie für Mirudex an:

     sudo apt install xjdic
     iconv -f EUC-JP -t SHIFT_JIS /var/lib/xjdic/radkfile &gt; &apos;%S/radkfile.dat&apos;

und starten Sie Mirudex erneut.</translation>
    </message>
    <message>
        <source>   Press CAPSLOCK to toggle the IME.
   English does English searches; Japanese does Japanese searches.

      Japanese searches allow wildcards: _ (any number of characters), ? (just one character).

      English searches behave like Google searches.  Start the search with &quot;s to search for EXACTLY that text

Check for updates &amp; important news often: Options--&gt;Check for Updates.</source>
        <translation>   Die Feststelltaste schaltet die IME ein und aus.
   „Englisch“ sucht auf Englisch, „Japanisch“ auf Japanisch.

      Japanische Suchen erlauben Platzhalter: _ (beliebig viele Zeichen), ? (genau ein Zeichen).

      Englische Suchen verhalten sich wie eine Websuche. Beginnen Sie die Suche mit &quot;, um GENAU diesen Text zu suchen

Suchen Sie oft nach Aktualisierungen und wichtigen Neuigkeiten: Optionen → Nach Aktualisierungen suchen.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Check out the &amp;site</source>
        <translation>&amp;Website besuchen</translation>
    </message>
    <message>
        <source>&amp;Get files</source>
        <translation>Dateien &amp;holen</translation>
    </message>
    <message>
        <source>The updates have been downloaded.

Please do whatever the instructions said to avoid problems ^_^</source>
        <translation>Die Aktualisierungen wurden heruntergeladen.

Bitte folgen Sie den Anweisungen, um Probleme zu vermeiden ^_^</translation>
    </message>
    <message>
        <source>Text appears at the beginning</source>
        <translation>Text steht am Anfang</translation>
    </message>
    <message>
        <source>Text appears in the middle</source>
        <translation>Text steht in der Mitte</translation>
    </message>
    <message>
        <source>Text appears at the end</source>
        <translation>Text steht am Ende</translation>
    </message>
    <message>
        <source>Search for exact text</source>
        <translation>Genau diesen Text suchen</translation>
    </message>
    <message>
        <source>Convert ROMAji to kana</source>
        <translation>ROMAji in Kana umwandeln</translation>
    </message>
    <message>
        <source>Kana insensitive search</source>
        <translation>Suche ohne Unterschied zwischen Hiragana und Katakana</translation>
    </message>
    <message>
        <source>&lt;-- (format)
Convert whatever&apos;s on the clipboard
into (format) format.
UNICODE is the default.</source>
        <translation>&lt;-- (Format)
Den Inhalt der Zwischenablage
in das Format (Format) umwandeln.
Vorgabe ist UNICODE.</translation>
    </message>
    <message>
        <source>(checked)
Only search in the words (~kanji) for the text
(unchecked)
Let Mirudex choose how to search.</source>
        <translation>(an)
Den Text nur in den Wörtern (~Kanji) suchen
(aus)
Mirudex wählt, wie gesucht wird.</translation>
    </message>
    <message>
        <source>Force Mirudex to search for this text as Japanese</source>
        <translation>Diesen Text auf jeden Fall als Japanisch suchen</translation>
    </message>
    <message>
        <source>Force Mirudex to search for this text as English</source>
        <translation>Diesen Text auf jeden Fall als Englisch suchen</translation>
    </message>
    <message>
        <source>Force Mirudex to search for this text as Kanji information</source>
        <translation>Diesen Text auf jeden Fall als Kanji-Angabe suchen</translation>
    </message>
    <message>
        <source>Let Mirudex choose how to search</source>
        <translation>Mirudex wählt, wie gesucht wird</translation>
    </message>
    <message>
        <source>If checked, this causes Mirudex to attempt to reverse-conjugate whatever word is being searched for.</source>
        <translation>Wenn aktiviert, führt Mirudex das gesuchte Wort auf seine Grundform zurück.</translation>
    </message>
    <message>
        <source>Search for a random word</source>
        <translation>Ein zufälliges Wort suchen</translation>
    </message>
    <message>
        <source>Search for a random kanji</source>
        <translation>Ein zufälliges Kanji suchen</translation>
    </message>
    <message>
        <source>-Results truncated-</source>
        <translation>-Ergebnisse gekürzt-</translation>
    </message>
    <message>
        <source>-Nothing in English: searched as Japanese-</source>
        <translation>-Auf Englisch nichts gefunden: als Japanisch gesucht-</translation>
    </message>
    <message>
        <source>-Nothing as typed: searched its dictionary form-</source>
        <translation>-Wie eingegeben nichts gefunden: nach der Wörterbuchform gesucht-</translation>
    </message>
    <message>
        <source>-For English, press CAPS LOCK to turn the input method off and type it again-</source>
        <translation>-Für Englisch die Eingabemethode mit CAPS LOCK ausschalten und neu eingeben-</translation>
    </message>
    <message>
        <source>IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,
you&apos;ll want to install a Japanese font; none is installed on this system.
For example:
     sudo apt install fonts-ipafont-mincho fonts-ipafont-gothic
</source>
        <translation>WENN MIRUDEX KEINEN JAPANISCHEN TEXT ZEIGT,
installieren Sie eine japanische Schrift; auf diesem System ist keine installiert.
Zum Beispiel:
     sudo apt install fonts-ipafont-mincho fonts-ipafont-gothic
</translation>
    </message>
    <message>
        <source>IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,
choose one of the Japanese fonts installed on this system in the settings:
     %1
</source>
        <translation>WENN MIRUDEX KEINEN JAPANISCHEN TEXT ZEIGT,
wählen Sie in den Einstellungen eine der japanischen Schriften dieses Systems:
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
        <translation>Hallo! Sie verwenden Mirudex offenbar zum ersten Mal.

Wenn Sie Hilfe brauchen, lesen Sie das Benutzerhandbuch (Hilfe &gt; Benutzerhandbuch):
     %1

Vermutlich möchten Sie das gerade nicht, darum folgen ein paar kurze
Dialoge, mit denen Sie sich schnell in Mirudex zurechtfinden.


Wenn Sie etwas gründlich verstellt haben, löschen Sie am einfachsten
&apos;Options.mxreg&apos; im Arbeitsordner von Mirudex,
     %2
und starten Mirudex neu. Es legt sich dann
eine neue Optionsdatei mit den Standardeinstellungen an.


%3

Sehen Sie sich ruhig die Werkzeugleiste an; sie bietet viele nützliche Optionen.
Probieren Sie auch die Einstellungen von Mirudex aus. Wenn etwas kaputtgeht,
löschen Sie einfach die Optionsdatei.
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
        <translation>ZUM SUCHEN:
(1)
   Verwenden Sie die Eingabemethode (mit CAPSLOCK ein- und ausschalten).
   (Damit tippen Sie Japanisch)

(2)
   Verwenden Sie die alte Art.
     Um japanischen Text zu suchen, tippen Sie Romaji oder Japanisch und drücken Enter.
          * (Dafür sollte die Romaji-Umwandlung eingeschaltet sein)
          Platzhalter: _ (beliebig viele Zeichen) und ? (genau ein Zeichen).

     Um englischen Text zu suchen, tippen Sie
          EN:EnglishTextHere


ENGLISCHE SUCHE:
     HINWEIS: Die englische Suche verhält sich im Grunde wie eine Suchmaschine.
     Wenn Sie Wörter mit GENAU der gewünschten Bedeutung suchen,
     setzen Sie die Suche in Anführungszeichen. Zum Beispiel:
          &quot;happy&quot;
     Um Anführungszeichen zu verwenden, aber NICHT genau zu suchen, setzen Sie
     ein Leerzeichen vor die ersten Anführungszeichen.
          &lt;space&gt;&quot;to run&quot; program


SUCHART ERZWINGEN:
     Für eine japanische Suche:
          JP:JapaneseTextHere
     Für eine Kanji-Informationssuche:
          KN:Japanese/EnglishTextHere
     Für eine englische Suche:
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
        <translation>Die Lernliste:

Mirudex speichert Ihre Lernliste automatisch, wenn Mirudex geschlossen wird.
Haben Sie keinen Dateinamen angegeben, wird &apos;studylist.default&apos; verwendet.
Ist die Lernliste leer, geschieht nichts.

Wenn Sie eine Lernliste ÖFFNEN oder mit SPEICHERN UNTER sichern, wird
diese Datei die Standard-Lernliste von Mirudex.

Wenn Sie eine Lernliste SCHLIESSEN, hat Mirudex keine Standarddatei und
legt beim Beenden &apos;studylist.default&apos; an, falls noch Einträge in der
Lernliste stehen.

Um Einträge aus der Lernliste zu nehmen, wählen Sie sie aus und drücken Entf,
oder klicken Sie mit der rechten Maustaste und wählen &apos;Entfernen&apos;. Strg+Z holt sie zurück.


HINWEIS:
     Die Lernliste funktioniert NUR mit Wörterbüchern im Format EUC-JP.
     Das werde ich künftig ändern, aber... nicht jetzt.


Der Verlauf:

Mit STRG+Leertaste öffnen Sie den Verlauf der zuletzt gesuchten Wörter.
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
        <translation>Einige Optionen:

Die Option für die Rückführung von Konjugationen ist recht nützlich. Sie wird
bald noch viel besser, funktioniert aber schon jetzt ziemlich gut.


Klicken Sie auf die farbigen Knöpfe neben &apos;Suchen&apos; für zufällige Wörter und Kanji.


Im Ergebnisfenster und in der Lernliste können Sie die angezeigten Spalten
ändern, indem Sie mit der rechten Maustaste darauf klicken oder die Leertaste
drücken, während die Maus über dem Fenster ist.


Ich kenne Mirudex in- und auswendig, und vieles, was mir einfach und
selbstverständlich scheint, ist es für andere nicht. Wenn Sie Fragen oder
Anmerkungen haben, schreiben Sie mir bitte eine E-Mail:
%1
</translation>
    </message>
    <message>
        <source>your settings</source>
        <translation>Ihre Einstellungen</translation>
    </message>
    <message>
        <source>your study list</source>
        <translation>Ihre Lernliste</translation>
    </message>
    <message>
        <source>your search history</source>
        <translation>Ihren Suchverlauf</translation>
    </message>
</context>
<context>
    <name>RadicalWindow</name>
    <message>
        <source>Strokes: %1</source>
        <translation>Striche: %1</translation>
    </message>
</context>
<context>
    <name>ResultWindow</name>
    <message>
        <source>Word</source>
        <translation>Wort</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Lesung</translation>
    </message>
    <message>
        <source>Meanings</source>
        <translation>Bedeutungen</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>SettingsDictionariesPage</name>
    <message>
        <source>Dictionaries</source>
        <translation>Wörterbücher</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>Input method</source>
        <translation>Eingabemethode</translation>
    </message>
</context>
</TS>
