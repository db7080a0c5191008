// Independent Java readers for the exchange tests, run once for many files
// so that the JVM starts once: ez-vcard (Debian's libez-vcard-java) reads
// and writes vCards, ZXing (libzxing-core-java, libzxing-javase-java) reads
// QR codes. Every line printed is "INDEX<tab>KEY<tab>VALUE-AS-HEX" ("-" for
// an empty value), INDEX counting the files from 0.
//
//   vcard FILE...        what ez-vcard reads from each vCard file
//   qp21 DIR HEX...      writes DIR/N.vcf, a vCard 2.1 whose NOTE is the
//                        UTF-8 text HEX in quoted-printable, as ez-vcard
//                        writes it, then prints what ez-vcard reads back
//   qr FILE...           the text of the QR code in each PNG
import com.google.zxing.BinaryBitmap;
import com.google.zxing.DecodeHintType;
import com.google.zxing.Result;
import com.google.zxing.client.j2se.BufferedImageLuminanceSource;
import com.google.zxing.common.HybridBinarizer;
import com.google.zxing.qrcode.QRCodeReader;
import ezvcard.Ezvcard;
import ezvcard.VCard;
import ezvcard.VCardVersion;
import ezvcard.io.text.VCardReader;
import ezvcard.io.text.VCardWriter;
import ezvcard.parameter.Encoding;
import ezvcard.property.Address;
import ezvcard.property.Note;
import ezvcard.property.Photo;
import ezvcard.property.StructuredName;
import ezvcard.property.Telephone;
import java.io.File;
import java.io.FileWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.EnumMap;
import java.util.HexFormat;
import java.util.List;
import java.util.Map;
import javax.imageio.ImageIO;

public class JavaPeers {
    static void out(int index, String key, byte[] value) {
        String hex = HexFormat.of().formatHex(value);
        System.out.println(index + "\t" + key + "\t" + (hex.isEmpty() ? "-" : hex));
    }

    static void out(int index, String key, String value) {
        out(index, key, value == null ? new byte[0] : value.getBytes(StandardCharsets.UTF_8));
    }

    static void readVCard(int index, File file) throws Exception {
        VCardReader reader = new VCardReader(file);
        VCard card = reader.readNext();
        reader.close();
        if (card == null) {
            out(index, "error", "no vCard");
            return;
        }
        out(index, "VERSION", card.getVersion().getVersion());
        if (card.getFormattedName() != null) out(index, "FN", card.getFormattedName().getValue());
        StructuredName n = card.getStructuredName();
        if (n != null) {
            out(index, "N.family", n.getFamily());
            out(index, "N.given", n.getGiven());
            out(index, "N.additional", String.join(",", n.getAdditionalNames()));
        }
        if (card.getOrganization() != null) {
            List<String> units = card.getOrganization().getValues();
            for (int i = 0; i < units.size(); ++i) out(index, "ORG." + i, units.get(i));
        }
        card.getTitles().forEach(t -> out(index, "TITLE", t.getValue()));
        for (Address a : card.getAddresses()) {
            out(index, "ADR.street", a.getStreetAddress());
            out(index, "ADR.city", a.getLocality());
            out(index, "ADR.region", a.getRegion());
            out(index, "ADR.code", a.getPostalCode());
            out(index, "ADR.country", a.getCountry());
        }
        for (Telephone t : card.getTelephoneNumbers()) {
            out(index, "TEL", t.getText() != null ? t.getText() : String.valueOf(t.getUri()));
            String label = t.getParameter("LABEL");
            if (label != null) out(index, "TEL.LABEL", label);
        }
        card.getEmails().forEach(e -> out(index, "EMAIL", e.getValue()));
        card.getUrls().forEach(u -> out(index, "URL", u.getValue()));
        card.getNotes().forEach(note -> out(index, "NOTE", note.getValue()));
        for (Photo p : card.getPhotos()) {
            out(index, "PHOTO.type", p.getContentType() == null ? "" : p.getContentType().getMediaType());
            if (p.getData() != null) out(index, "PHOTO", p.getData());
            else out(index, "PHOTO.url", p.getUrl());
        }
    }

    static void writeQuotedPrintable(int index, File dir, String hex) throws Exception {
        VCard card = new VCard();
        card.setFormattedName("Ann Lee");
        Note note = new Note(new String(HexFormat.of().parseHex(hex), StandardCharsets.UTF_8));
        note.getParameters().setEncoding(Encoding.QUOTED_PRINTABLE);
        note.getParameters().setCharset("UTF-8");
        card.addNote(note);
        File file = new File(dir, index + ".vcf");
        try (VCardWriter writer = new VCardWriter(new FileWriter(file, StandardCharsets.UTF_8), VCardVersion.V2_1)) {
            writer.write(card);
        }
        readVCard(index, file);
    }

    static void readQr(int index, File file) throws Exception {
        BinaryBitmap bitmap =
            new BinaryBitmap(new HybridBinarizer(new BufferedImageLuminanceSource(ImageIO.read(file))));
        Map<DecodeHintType, Object> hints = new EnumMap<>(DecodeHintType.class);
        hints.put(DecodeHintType.CHARACTER_SET, "UTF-8");
        hints.put(DecodeHintType.TRY_HARDER, Boolean.TRUE);
        try {
            Result result = new QRCodeReader().decode(bitmap, hints);
            out(index, "TEXT", result.getText());
        } catch (com.google.zxing.NotFoundException | com.google.zxing.ChecksumException
                 | com.google.zxing.FormatException e) {
            out(index, "error", "no QR code found: " + e);
        }
    }

    public static void main(String[] args) throws Exception {
        if (args.length < 1) throw new IllegalArgumentException("usage: vcard|qp21|qr ...");
        switch (args[0]) {
            case "vcard":
                for (int i = 1; i < args.length; ++i) readVCard(i - 1, new File(args[i]));
                break;
            case "qp21":
                for (int i = 2; i < args.length; ++i) writeQuotedPrintable(i - 2, new File(args[1]), args[i]);
                break;
            case "qr":
                for (int i = 1; i < args.length; ++i) readQr(i - 1, new File(args[i]));
                break;
            default:
                throw new IllegalArgumentException("unknown mode " + args[0]);
        }
    }
}
