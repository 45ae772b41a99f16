#!/usr/bin/env python3
"""Writes the French and Italian resource scripts from Quorbel.rc.

The language libraries carry the executable's dialogs and strings under the
same identifiers with translated texts; icons, version and manifest stay in
the executable (the program looks there for whatever a library leaves out).
Run it from this folder after changing Quorbel.rc; it rewrites
QuorbelFr.rc and QuorbelIT.rc (Windows-1252).
"""
import re

FRENCH = {
    "Quorbel setup": "Configuration de Quorbel", "[ Option ]": "[ Options ]",
    "Language": "Langue", "Hide at start": "Masquer au d\u00e9marrage",
    "Deactivate Hide button": "D\u00e9sactiver le bouton Masquer",
    "[ Input option ]": "[ Entr\u00e9e ]", "Input port": "Port d'entr\u00e9e",
    "Input separator": "S\u00e9parateur", "Serial Com Port": "Port s\u00e9rie",
    "RS232 setup": "R\u00e9glages RS232", "Server Port:": "Port serveur :",
    "Server IP Address:": "Adresse IP :", "[ Print ]": "[ Impression ]",
    "Print result": "Imprimer", "Print setup": "R\u00e9glages impression",
    "[ Store type ]": "[ Enregistrement ]", "Original frame": "Trame d'origine",
    "Original frame + date": "Trame d'origine + date", "Selected fields": "Champs choisis",
    "Selected fields + date": "Champs choisis + date",
    "Output field separator": "S\u00e9parateur sortie", "[ Store to directory ]": "[ R\u00e9pertoire ]",
    "File extension ": "Extension ", "[ Selected fields ]": "[ Champs choisis ]",
    "Cancel": "Annuler", "Get field name": "Nom du champ", "Fiield name": "Nom du champ",
    "Serial port setup": "R\u00e9glages du port s\u00e9rie", "[ Parameters ]": "[ Param\u00e8tres ]",
    "Com Port": "Port", "Baud rate": "Vitesse", "Bits #": "Bits", "Stop Bits": "Bits d'arr\u00eat",
    "Parity": "Parit\u00e9", "Handshake": "Contr\u00f4le de flux",
    "Printing setup": "R\u00e9glages d'impression", "Printing ": "Impression ",
    "[ Print type ]": "[ Type d'impression ]", "Type of printing": "Type d'impression",
    "Number of copies": "Nombre de copies", "Upper margin (A4)": "Marge haute (A4)",
    "Left margin (A4)": "Marge gauche (A4)", "Character size (LABEL)": "Taille (\u00c9TIQUETTE)",
    "[ Print fields ]": "[ Champs imprim\u00e9s ]", "Operator": "Op\u00e9rateur",
    "Serial number": "Num\u00e9ro de s\u00e9rie", "Description": "Description",
    "Date/Time": "Date/Heure", "Vorl frame": "Trame Vorl",
    "&About Quorbel...": "\u00c0 &propos de Quorbel...",
    "No fields selected !!!": "Aucun champ choisi !!!",
    "Frame format error !!!": "Erreur de format de trame !!!",
}

ITALIAN = {
    "Quorbel setup": "Configurazione di Quorbel", "[ Option ]": "[ Opzioni ]",
    "Language": "Lingua", "Hide at start": "Nascondi all'avvio",
    "Deactivate Hide button": "Disattiva il pulsante Nascondi",
    "[ Input option ]": "[ Ingresso ]", "Input port": "Porta ingresso",
    "Input separator": "Separatore", "Serial Com Port": "Porta seriale",
    "RS232 setup": "Impostazioni RS232", "Server Port:": "Porta server:",
    "Server IP Address:": "Indirizzo IP:", "[ Print ]": "[ Stampa ]",
    "Print result": "Stampa", "Print setup": "Impostazioni stampa",
    "[ Store type ]": "[ Salvataggio ]", "Original frame": "Trama originale",
    "Original frame + date": "Trama originale + data", "Selected fields": "Campi scelti",
    "Selected fields + date": "Campi scelti + data",
    "Output field separator": "Separatore uscita", "[ Store to directory ]": "[ Cartella ]",
    "File extension ": "Estensione ", "[ Selected fields ]": "[ Campi scelti ]",
    "Cancel": "Annulla", "Get field name": "Nome del campo", "Fiield name": "Nome campo",
    "Serial port setup": "Impostazioni porta seriale", "[ Parameters ]": "[ Parametri ]",
    "Com Port": "Porta", "Baud rate": "Velocit\u00e0", "Bits #": "Bit", "Stop Bits": "Bit di stop",
    "Parity": "Parit\u00e0", "Handshake": "Controllo di flusso",
    "Printing setup": "Impostazioni di stampa", "Printing ": "Stampa ",
    "[ Print type ]": "[ Tipo di stampa ]", "Type of printing": "Tipo di stampa",
    "Number of copies": "Numero di copie", "Upper margin (A4)": "Margine sup. (A4)",
    "Left margin (A4)": "Margine sin. (A4)", "Character size (LABEL)": "Caratteri (ETICHETTA)",
    "[ Print fields ]": "[ Campi stampati ]", "Operator": "Operatore",
    "Serial number": "Numero di serie", "Description": "Descrizione",
    "Date/Time": "Data/Ora", "Vorl frame": "Trama Vorl",
    "&About Quorbel...": "&Informazioni su Quorbel...",
    "No fields selected !!!": "Nessun campo scelto !!!",
    "Frame format error !!!": "Errore di formato della trama !!!",
}

def translated(source, table, language, title):
    # Dialogs and strings only: from the string table to the version block.
    body = source[source.index("STRINGTABLE"):source.index("VS_VERSION_INFO")]
    body = re.sub(r"^1 RT_MANIFEST.*$|^\w+\s+ICON .*$", "", body, flags=re.M)
    def swap(match):
        text = match.group(1)
        return '"' + table.get(text, text) + '"'
    body = re.sub(r'"([^"]*)"', swap, body)
    header = (f"// {title} resources of Quorbel, written by make-language-rc.py from\n"
              "// Quorbel.rc: same identifiers, translated texts.\n"
              "#pragma code_page(1252)\n#include <windows.h>\n#include <commctrl.h>\n"
              '#include "resource.h"\n\n' + language + "\n\n")
    return header + body.rstrip() + "\n"

if __name__ == "__main__":
    source = open("Quorbel.rc", encoding="cp1252").read()
    for name, table, language, title in (
            ("QuorbelFr.rc", FRENCH, "LANGUAGE LANG_FRENCH, SUBLANG_FRENCH", "French"),
            ("QuorbelIT.rc", ITALIAN, "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN", "Italian")):
        with open(name, "w", encoding="cp1252", newline="\n") as out:
            out.write(translated(source, table, language, title))
