<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Ovlet Maker</source>
        <translation>Über Ovlet Maker</translation>
    </message>
    <message>
        <source>Electronic business cards</source>
        <translation>Elektronische Visitenkarten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Free software</source>
        <translation>Freie Software</translation>
    </message>
    <message>
        <source>Visit: https://ovlet.app/ for latest updates</source>
        <translation>Aktuelle Version: https://ovlet.app/</translation>
    </message>
    <message>
        <source>Ovlet Maker Version 1.0</source>
        <translation>Ovlet Maker Version 1.0</translation>
    </message>
    <message>
        <source>About Ovlet Viewer</source>
        <translation>Über Ovlet Viewer</translation>
    </message>
    <message>
        <source>Ovlet Viewer Version 1.0</source>
        <translation>Ovlet Viewer Version 1.0</translation>
    </message>
    <message>
        <source>Download Ovlet Maker</source>
        <translation>Ovlet Maker herunterladen</translation>
    </message>
</context>
<context>
    <name>CCardDialog</name>
    <message>
        <source>Create a new Ovlet</source>
        <translation>Neues Ovlet anlegen</translation>
    </message>
    <message>
        <source>Open an existing Ovlet</source>
        <translation>Vorhandenes Ovlet öffnen</translation>
    </message>
    <message>
        <source>Save current Ovlet</source>
        <translation>Aktuelles Ovlet speichern</translation>
    </message>
    <message>
        <source>Save current Ovlet with a different name</source>
        <translation>Aktuelles Ovlet unter anderem Namen speichern</translation>
    </message>
    <message>
        <source>Import a graphical representation of the Ovlet</source>
        <translation>Bild für das Ovlet importieren</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About Ovlet Maker</source>
        <translation>Über Ovlet Maker</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Remove image from current Ovlet</source>
        <translation>Bild aus dem aktuellen Ovlet entfernen</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>k. A.</translation>
    </message>
    <message>
        <source>E-Mail: </source>
        <translation>E-Mail: </translation>
    </message>
    <message>
        <source>Fax: </source>
        <translation>Fax: </translation>
    </message>
    <message>
        <source>Card picture, %1 x %2</source>
        <translation>Kartenbild, %1 x %2</translation>
    </message>
    <message>
        <source>Export as vCard…</source>
        <translation>Als vCard exportieren…</translation>
    </message>
    <message>
        <source>Save card picture…</source>
        <translation>Kartenbild speichern…</translation>
    </message>
    <message>
        <source>vCard (.vcf)</source>
        <translation>vCard (.vcf)</translation>
    </message>
    <message>
        <source>The vCard could not be written to %1: %2</source>
        <translation>Die vCard konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>This card has no picture.</source>
        <translation>Diese Karte hat kein Bild.</translation>
    </message>
    <message>
        <source>Portable Network Graphics (.png)</source>
        <translation>PNG-Grafikdateien (.png)</translation>
    </message>
    <message>
        <source>JPEG Graphic Files (.jpg)</source>
        <translation>JPEG-Grafikdateien (.jpg)</translation>
    </message>
    <message>
        <source>The picture could not be written to %1: %2</source>
        <translation>Das Bild konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>No QR code can hold this card: %1</source>
        <translation>Diese Karte passt in keinen QR-Code: %1</translation>
    </message>
    <message>
        <source>QR Code</source>
        <translation>QR-Code</translation>
    </message>
    <message>
        <source>Scan this code with a phone to add the card to its contacts.</source>
        <translation>Scannen Sie diesen Code mit einem Telefon, um die Karte in dessen Kontakte aufzunehmen.</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Drucken…</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>A card cannot hold these characters, so the text was not pasted: %1</source>
        <translation>Eine Karte kann diese Zeichen nicht speichern, darum wurde der Text nicht eingefügt: %1</translation>
    </message>
</context>
<context>
    <name>CMakerDialog</name>
    <message>
        <source>Electronic Business Card (.ovt)</source>
        <translation>Elektronische Visitenkarte (.ovt)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Unable to save file with this name.  Please try a different name.</source>
        <translation>Die Datei kann unter diesem Namen nicht gespeichert werden.  Bitte versuchen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>Do you wish to save your changes to the current document?</source>
        <translation>Möchten Sie die Änderungen am aktuellen Dokument speichern?</translation>
    </message>
    <message>
        <source>Do you wish to save your changes before you exit?</source>
        <translation>Möchten Sie Ihre Änderungen vor dem Beenden speichern?</translation>
    </message>
    <message>
        <source>Failed to launch help.</source>
        <translation>Die Hilfe konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Ovlet Maker will import the selected image.  Please note that the image exceeds the maximum 30KB recomendation. This may cause noticeable download times for internet E-Mail users that receive your Ovlet.  You may want to consider resizing your image or reducing the number of colors used by your image.</source>
        <translation>Ovlet Maker importiert das gewählte Bild.  Bitte beachten Sie, dass das Bild die empfohlene Höchstgröße von 30 KB überschreitet. Empfänger Ihres Ovlets müssen es per E-Mail dann merklich länger laden.  Verkleinern Sie gegebenenfalls das Bild oder verringern Sie die Anzahl seiner Farben.</translation>
    </message>
    <message>
        <source>JPEG Graphic Files (.jpg)</source>
        <translation>JPEG-Grafikdateien (.jpg)</translation>
    </message>
    <message>
        <source> Portable Network Graphics (.png)</source>
        <translation> PNG-Grafikdateien (.png)</translation>
    </message>
    <message>
        <source>Error opening graphic file.</source>
        <translation>Fehler beim Öffnen der Grafikdatei.</translation>
    </message>
    <message>
        <source>The picture cannot be imported.

%1</source>
        <translation>Das Bild kann nicht importiert werden.

%1</translation>
    </message>
    <message>
        <source>The picture on the clipboard cannot be read, so it cannot be pasted. It may be too large to pass through the clipboard: save it as a file and use Import.</source>
        <translation>Das Bild in der Zwischenablage kann nicht gelesen und daher nicht eingefügt werden. Vielleicht ist es für die Zwischenablage zu groß: Speichern Sie es als Datei und verwenden Sie Importieren.</translation>
    </message>
</context>
<context>
    <name>CPictureStatic</name>
    <message>
        <source>Picture, %1 x %2</source>
        <translation>Bild, %1 x %2</translation>
    </message>
    <message>
        <source>No Image Data</source>
        <translation>Keine Bilddaten</translation>
    </message>
</context>
<context>
    <name>CViewerDialog</name>
    <message>
        <source>Show QR code</source>
        <translation>QR-Code anzeigen</translation>
    </message>
</context>
<context>
    <name>CardDialog</name>
    <message>
        <source>Last:</source>
        <translation>Fam.</translation>
    </message>
    <message>
        <source>Job Title:</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>E-Mail:</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Phone:</source>
        <translation>Tel.</translation>
    </message>
    <message>
        <source>First:</source>
        <translation>Vorn.</translation>
    </message>
    <message>
        <source>Middle:</source>
        <translation>2. Vorn.</translation>
    </message>
    <message>
        <source>Department:</source>
        <translation>Abteilung</translation>
    </message>
    <message>
        <source>Desc:</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Phone 1</source>
        <translation>Telefon 1</translation>
    </message>
    <message>
        <source>Phone 2</source>
        <translation>Telefon 2</translation>
    </message>
    <message>
        <source>Fax:</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>Street Address:</source>
        <translation>Anschrift</translation>
    </message>
    <message>
        <source>City:</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>Bundesland</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Postal Code</source>
        <translation>PLZ</translation>
    </message>
    <message>
        <source>Company Web Site:</source>
        <translation>Website der Firma</translation>
    </message>
    <message>
        <source>General Information:</source>
        <translation>Weitere Angaben</translation>
    </message>
    <message>
        <source>Current File:</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Actual Image Size:</source>
        <translation>Bildgröße</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Kontakt</translation>
    </message>
</context>
<context>
    <name>CardForm</name>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Kontakt</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informationen</translation>
    </message>
</context>
<context>
    <name>CardMessages</name>
    <message>
        <source>Unable to open file with this name.  Please try a different name.</source>
        <translation>Die Datei mit diesem Namen kann nicht geöffnet werden.  Bitte versuchen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>An attempt was made to access an unnamed file past its end.</source>
        <translation>Es wurde versucht, über das Ende einer unbenannten Datei hinaus zuzugreifen.</translation>
    </message>
    <message>
        <source>The card file is damaged and cannot be read.</source>
        <translation>Die Kartendatei ist beschädigt und kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Please enter no more than %1 characters.</source>
        <translation>Bitte geben Sie nicht mehr als %1 Zeichen ein.</translation>
    </message>
    <message>
        <source>The card&apos;s picture cannot be shown.

%1</source>
        <translation>Das Bild der Karte kann nicht angezeigt werden.

%1</translation>
    </message>
    <message>
        <source>This card has no web site address.</source>
        <translation>Diese Karte enthält keine Website-Adresse.</translation>
    </message>
    <message>
        <source>The web site address on this card contains spaces or control characters, so it is not opened.</source>
        <translation>Die Website-Adresse auf dieser Karte enthält Leer- oder Steuerzeichen und wird daher nicht geöffnet.</translation>
    </message>
    <message>
        <source>The web site on this card names a local file, not a web address, so it is not opened.</source>
        <translation>Die Website auf dieser Karte nennt eine lokale Datei, keine Webadresse, und wird daher nicht geöffnet.</translation>
    </message>
    <message>
        <source>The web site on this card is a &quot;%1:&quot; address, not a web address, so it is not opened.</source>
        <translation>Die Website auf dieser Karte ist eine „%1:“-Adresse, keine Webadresse, und wird daher nicht geöffnet.</translation>
    </message>
    <message>
        <source>The web site address on this card has no host name, so it is not opened.</source>
        <translation>Die Website-Adresse auf dieser Karte nennt keinen Rechner und wird daher nicht geöffnet.</translation>
    </message>
    <message>
        <source>The e-mail address on this card is not a single address, so it is not opened.</source>
        <translation>Die E-Mail-Adresse auf dieser Karte ist keine einzelne Adresse und wird daher nicht geöffnet.</translation>
    </message>
    <message>
        <source>Disk full while accessing %1.</source>
        <translation>Datenträger voll beim Zugriff auf %1.</translation>
    </message>
    <message>
        <source>An error occurred while writing %1.</source>
        <translation>Beim Schreiben von %1 ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>The card file is damaged: it ends inside its picture, so only part of the picture can be shown.</source>
        <translation>Die Kartendatei ist beschädigt: Sie endet mitten im Bild, darum kann nur ein Teil des Bildes gezeigt werden.</translation>
    </message>
    <message>
        <source>The file is not a picture of the kind it claims to be.</source>
        <translation>Die Datei ist kein Bild der Art, die sie angibt.</translation>
    </message>
    <message>
        <source>The picture&apos;s data is damaged or of a kind that is not supported.</source>
        <translation>Die Bilddaten sind beschädigt oder von einer Art, die nicht unterstützt wird.</translation>
    </message>
    <message>
        <source>The picture file cannot be found.</source>
        <translation>Die Bilddatei wird nicht gefunden.</translation>
    </message>
    <message>
        <source>The picture file cannot be read.</source>
        <translation>Die Bilddatei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The picture uses a format or feature that is not supported.</source>
        <translation>Das Bild verwendet ein Format oder eine Eigenschaft, die nicht unterstützt wird.</translation>
    </message>
    <message>
        <source>Unknown file type.</source>
        <translation>Unbekannter Dateityp.</translation>
    </message>
    <message>
        <source>There is not enough memory to decode the picture.</source>
        <translation>Der Speicher reicht nicht, um das Bild zu dekodieren.</translation>
    </message>
    <message>
        <source>The picture&apos;s data ends before the picture is complete.</source>
        <translation>Die Bilddaten enden, bevor das Bild vollständig ist.</translation>
    </message>
    <message>
        <source>Decoder error: %1</source>
        <translation>Decoderfehler: %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;About Ovlet Maker</source>
        <translation>&amp;Über Ovlet Maker</translation>
    </message>
</context>
</TS>
