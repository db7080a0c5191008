<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Ovlet Maker</source>
        <translation>À propos d&apos;Ovlet Maker</translation>
    </message>
    <message>
        <source>Electronic business cards</source>
        <translation>Cartes de visite électroniques</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Free software</source>
        <translation>Logiciel libre</translation>
    </message>
    <message>
        <source>Visit: https://ovlet.app/ for latest updates</source>
        <translation>Mises à jour : https://ovlet.app/</translation>
    </message>
    <message>
        <source>Ovlet Maker Version 1.0</source>
        <translation>Ovlet Maker version 1.0</translation>
    </message>
    <message>
        <source>About Ovlet Viewer</source>
        <translation>À propos d&apos;Ovlet Viewer</translation>
    </message>
    <message>
        <source>Ovlet Viewer Version 1.0</source>
        <translation>Ovlet Viewer version 1.0</translation>
    </message>
    <message>
        <source>Download Ovlet Maker</source>
        <translation>Télécharger Ovlet Maker</translation>
    </message>
</context>
<context>
    <name>CCardDialog</name>
    <message>
        <source>Create a new Ovlet</source>
        <translation>Créer un nouvel Ovlet</translation>
    </message>
    <message>
        <source>Open an existing Ovlet</source>
        <translation>Ouvrir un Ovlet existant</translation>
    </message>
    <message>
        <source>Save current Ovlet</source>
        <translation>Enregistrer l&apos;Ovlet actuel</translation>
    </message>
    <message>
        <source>Save current Ovlet with a different name</source>
        <translation>Enregistrer l&apos;Ovlet actuel sous un autre nom</translation>
    </message>
    <message>
        <source>Import a graphical representation of the Ovlet</source>
        <translation>Importer une image pour l&apos;Ovlet</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>About Ovlet Maker</source>
        <translation>À propos d&apos;Ovlet Maker</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Remove image from current Ovlet</source>
        <translation>Retirer l&apos;image de l&apos;Ovlet actuel</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/D</translation>
    </message>
    <message>
        <source>E-Mail: </source>
        <translation>Courriel : </translation>
    </message>
    <message>
        <source>Fax: </source>
        <translation>Fax : </translation>
    </message>
    <message>
        <source>Card picture, %1 x %2</source>
        <translation>Image de la carte, %1 x %2</translation>
    </message>
    <message>
        <source>Export as vCard…</source>
        <translation>Exporter en vCard…</translation>
    </message>
    <message>
        <source>Save card picture…</source>
        <translation>Enregistrer l&apos;image de la carte…</translation>
    </message>
    <message>
        <source>vCard (.vcf)</source>
        <translation>vCard (.vcf)</translation>
    </message>
    <message>
        <source>The vCard could not be written to %1: %2</source>
        <translation>La vCard n&apos;a pas pu être écrite dans %1 : %2</translation>
    </message>
    <message>
        <source>This card has no picture.</source>
        <translation>Cette carte n&apos;a pas d&apos;image.</translation>
    </message>
    <message>
        <source>Portable Network Graphics (.png)</source>
        <translation>Images PNG (.png)</translation>
    </message>
    <message>
        <source>JPEG Graphic Files (.jpg)</source>
        <translation>Images JPEG (.jpg)</translation>
    </message>
    <message>
        <source>The picture could not be written to %1: %2</source>
        <translation>L&apos;image n&apos;a pas pu être écrite dans %1 : %2</translation>
    </message>
    <message>
        <source>No QR code can hold this card: %1</source>
        <translation>Aucun code QR ne peut contenir cette carte : %1</translation>
    </message>
    <message>
        <source>QR Code</source>
        <translation>Code QR</translation>
    </message>
    <message>
        <source>Scan this code with a phone to add the card to its contacts.</source>
        <translation>Scannez ce code avec un téléphone pour ajouter la carte à ses contacts.</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Imprimer…</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>A card cannot hold these characters, so the text was not pasted: %1</source>
        <translation>Une carte ne peut pas contenir ces caractères, le texte n’a donc pas été collé : %1</translation>
    </message>
</context>
<context>
    <name>CMakerDialog</name>
    <message>
        <source>Electronic Business Card (.ovt)</source>
        <translation>Carte de visite électronique (.ovt)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>Unable to save file with this name.  Please try a different name.</source>
        <translation>Impossible d&apos;enregistrer le fichier sous ce nom.  Veuillez essayer un autre nom.</translation>
    </message>
    <message>
        <source>Do you wish to save your changes to the current document?</source>
        <translation>Voulez-vous enregistrer les modifications du document actuel ?</translation>
    </message>
    <message>
        <source>Do you wish to save your changes before you exit?</source>
        <translation>Voulez-vous enregistrer vos modifications avant de quitter ?</translation>
    </message>
    <message>
        <source>Failed to launch help.</source>
        <translation>Impossible d&apos;ouvrir l&apos;aide.</translation>
    </message>
    <message>
        <source>Ovlet Maker will import the selected image.  Please note that the image exceeds the maximum 30KB recomendation. This may cause noticeable download times for internet E-Mail users that receive your Ovlet.  You may want to consider resizing your image or reducing the number of colors used by your image.</source>
        <translation>Ovlet Maker va importer l&apos;image choisie.  Notez que l&apos;image dépasse la taille maximale recommandée de 30 Ko. Les destinataires de votre Ovlet par courriel pourraient subir des temps de téléchargement notables.  Vous pouvez redimensionner l&apos;image ou réduire le nombre de ses couleurs.</translation>
    </message>
    <message>
        <source>JPEG Graphic Files (.jpg)</source>
        <translation>Images JPEG (.jpg)</translation>
    </message>
    <message>
        <source> Portable Network Graphics (.png)</source>
        <translation> Images PNG (.png)</translation>
    </message>
    <message>
        <source>Error opening graphic file.</source>
        <translation>Erreur à l&apos;ouverture du fichier image.</translation>
    </message>
    <message>
        <source>The picture cannot be imported.

%1</source>
        <translation>L&apos;image ne peut pas être importée.

%1</translation>
    </message>
    <message>
        <source>The picture on the clipboard cannot be read, so it cannot be pasted. It may be too large to pass through the clipboard: save it as a file and use Import.</source>
        <translation>L’image du presse-papiers ne peut pas être lue, elle ne peut donc pas être collée. Elle est peut-être trop grande pour le presse-papiers : enregistrez-la dans un fichier et utilisez Importer.</translation>
    </message>
</context>
<context>
    <name>CPictureStatic</name>
    <message>
        <source>Picture, %1 x %2</source>
        <translation>Image, %1 x %2</translation>
    </message>
    <message>
        <source>No Image Data</source>
        <translation>Aucune donnée d&apos;image</translation>
    </message>
</context>
<context>
    <name>CViewerDialog</name>
    <message>
        <source>Show QR code</source>
        <translation>Afficher le code QR</translation>
    </message>
</context>
<context>
    <name>CardDialog</name>
    <message>
        <source>Last:</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Job Title:</source>
        <translation>Fonction</translation>
    </message>
    <message>
        <source>E-Mail:</source>
        <translation>Mél.</translation>
    </message>
    <message>
        <source>Phone:</source>
        <translation>Tél.</translation>
    </message>
    <message>
        <source>First:</source>
        <translation>Prén.</translation>
    </message>
    <message>
        <source>Middle:</source>
        <translation>Prén. 2</translation>
    </message>
    <message>
        <source>Department:</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>Desc:</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Phone 1</source>
        <translation>Téléphone 1</translation>
    </message>
    <message>
        <source>Phone 2</source>
        <translation>Téléphone 2</translation>
    </message>
    <message>
        <source>Fax:</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Société</translation>
    </message>
    <message>
        <source>Street Address:</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>City:</source>
        <translation>Ville</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>Région</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Pays</translation>
    </message>
    <message>
        <source>Postal Code</source>
        <translation>Code postal</translation>
    </message>
    <message>
        <source>Company Web Site:</source>
        <translation>Site web</translation>
    </message>
    <message>
        <source>General Information:</source>
        <translation>Informations</translation>
    </message>
    <message>
        <source>Current File:</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Actual Image Size:</source>
        <translation>Taille réelle</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Société</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Contact</translation>
    </message>
</context>
<context>
    <name>CardForm</name>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Société</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Contact</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informations</translation>
    </message>
</context>
<context>
    <name>CardMessages</name>
    <message>
        <source>Unable to open file with this name.  Please try a different name.</source>
        <translation>Impossible d&apos;ouvrir le fichier sous ce nom.  Veuillez essayer un autre nom.</translation>
    </message>
    <message>
        <source>An attempt was made to access an unnamed file past its end.</source>
        <translation>Tentative d&apos;accès au-delà de la fin d&apos;un fichier sans nom.</translation>
    </message>
    <message>
        <source>The card file is damaged and cannot be read.</source>
        <translation>Le fichier de carte est endommagé et ne peut pas être lu.</translation>
    </message>
    <message>
        <source>Please enter no more than %1 characters.</source>
        <translation>Veuillez saisir au plus %1 caractères.</translation>
    </message>
    <message>
        <source>The card&apos;s picture cannot be shown.

%1</source>
        <translation>L&apos;image de la carte ne peut pas être affichée.

%1</translation>
    </message>
    <message>
        <source>This card has no web site address.</source>
        <translation>Cette carte n&apos;a pas d&apos;adresse de site web.</translation>
    </message>
    <message>
        <source>The web site address on this card contains spaces or control characters, so it is not opened.</source>
        <translation>L&apos;adresse du site web de cette carte contient des espaces ou des caractères de contrôle ; elle n&apos;est donc pas ouverte.</translation>
    </message>
    <message>
        <source>The web site on this card names a local file, not a web address, so it is not opened.</source>
        <translation>Le site web de cette carte désigne un fichier local et non une adresse web ; il n&apos;est donc pas ouvert.</translation>
    </message>
    <message>
        <source>The web site on this card is a &quot;%1:&quot; address, not a web address, so it is not opened.</source>
        <translation>Le site web de cette carte est une adresse « %1: » et non une adresse web ; il n&apos;est donc pas ouvert.</translation>
    </message>
    <message>
        <source>The web site address on this card has no host name, so it is not opened.</source>
        <translation>L&apos;adresse du site web de cette carte n&apos;a pas de nom d&apos;hôte ; elle n&apos;est donc pas ouverte.</translation>
    </message>
    <message>
        <source>The e-mail address on this card is not a single address, so it is not opened.</source>
        <translation>L&apos;adresse électronique de cette carte n&apos;est pas une adresse unique ; elle n&apos;est donc pas ouverte.</translation>
    </message>
    <message>
        <source>Disk full while accessing %1.</source>
        <translation>Disque plein lors de l&apos;accès à %1.</translation>
    </message>
    <message>
        <source>An error occurred while writing %1.</source>
        <translation>Une erreur s&apos;est produite lors de l&apos;écriture de %1.</translation>
    </message>
    <message>
        <source>The card file is damaged: it ends inside its picture, so only part of the picture can be shown.</source>
        <translation>Le fichier de carte est endommagé : il se termine au milieu de son image, qui ne peut donc être montrée qu’en partie.</translation>
    </message>
    <message>
        <source>The file is not a picture of the kind it claims to be.</source>
        <translation>Le fichier n’est pas une image du type qu’il annonce.</translation>
    </message>
    <message>
        <source>The picture&apos;s data is damaged or of a kind that is not supported.</source>
        <translation>Les données de l’image sont endommagées ou d’un type non pris en charge.</translation>
    </message>
    <message>
        <source>The picture file cannot be found.</source>
        <translation>Le fichier image est introuvable.</translation>
    </message>
    <message>
        <source>The picture file cannot be read.</source>
        <translation>Le fichier image ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The picture uses a format or feature that is not supported.</source>
        <translation>L’image utilise un format ou une fonction non pris en charge.</translation>
    </message>
    <message>
        <source>Unknown file type.</source>
        <translation>Type de fichier inconnu.</translation>
    </message>
    <message>
        <source>There is not enough memory to decode the picture.</source>
        <translation>La mémoire ne suffit pas pour décoder l’image.</translation>
    </message>
    <message>
        <source>The picture&apos;s data ends before the picture is complete.</source>
        <translation>Les données de l’image s’arrêtent avant que l’image soit complète.</translation>
    </message>
    <message>
        <source>Decoder error: %1</source>
        <translation>Erreur du décodeur : %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Oui</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;About Ovlet Maker</source>
        <translation>À &amp;propos d&apos;Ovlet Maker</translation>
    </message>
</context>
</TS>
