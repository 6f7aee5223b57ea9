// The French usage text of pseudal2logo --help.

#include "cli/cli_options.h"

namespace tortuval::cli {
namespace {

constexpr std::string_view kHelpText =
    R"(Utilisation : pseudal2logo [options] [FICHIER...]
Convertit des algorithmes Pseudal (fichiers .alg) en programmes LOGO.
Sans FICHIER, ou avec "-", lit le document sur l'entrée standard.
Plusieurs fichiers sans -o ni -d : les programmes sont écrits à la suite.

Options :
  --listing            écrit les lignes de pseudo-code au lieu du programme LOGO
  --example N          convertit l'exemple intégré N (1 à 17) au lieu de fichiers
  --example-source N   écrit le texte du document de l'exemple intégré N
  --examples           liste les exemples : numéro, tabulation, titre
  --encoding E         encodage de sortie : utf-8 (par défaut) ou cp1252
  --lf                 fins de ligne LF au lieu de CR LF
  --check              vérifie le programme converti (ou le fichier .lgo) et écrit
                       ses remarques au lieu du programme : FICHIER:LIGNE:COLONNE:
                       message ; pour un document, DOCUMENT:LIGNE: message suivi de
                       la ligne et de la colonne du programme LOGO, LIGNE étant
                       celle de l'algorithme
  --python             écrit l'algorithme en Python (UTF-8) au lieu du programme
                       LOGO ; ce qui n'a pas pu être écrit est signalé sur la sortie
                       d'erreur, DOCUMENT:LIGNE: message, et laissé en commentaire
                       « # À compléter : … » dans le programme (avec -d :
                       DOSSIER/<nom>.py)
  -o FICHIER           écrit le résultat dans FICHIER (une seule entrée)
  -d DOSSIER           écrit le programme de chaque fichier dans DOSSIER/<nom>.lgo
                       (avec --listing : DOSSIER/<nom>.txt) ; le dossier doit exister
  --run                exécute le programme converti (ou le fichier .lgo tel quel) :
                       ce qu'il écrit va sur la sortie standard
  --input TEXTE        avec --run : les réponses aux lectures, séparées par des blancs
                       (ou par des fins de ligne si TEXTE en contient)
  --input-file FICHIER avec --run : les réponses, une par ligne (sans --input ni
                       --input-file, elles sont lues sur l'entrée standard)
  --drawing FICHIER    avec --run : écrit le dessin du programme en SVG dans FICHIER
                       (un nom en .svg), gradué selon le repère du document
  --max-steps N        avec --run : arrête le programme après N instructions
                       (100 000 000 par défaut)
  --seed N             avec --run : graine des nombres aléatoires, pour refaire
                       exactement la même exécution
  -h, --help           affiche cette aide
  --version            affiche la version

Un fichier qui ne contient aucune instruction Pseudal n'est pas converti. Un
document coupé avant sa fin est converti jusqu'à sa dernière instruction lue,
avec un avertissement.

Code de retour : 0 si chaque entrée a été convertie ; 1 si une entrée n'a pas pu
être lue ou ne contient aucune instruction Pseudal, si une sortie n'a pas pu être
écrite, ou si le dossier de -d n'existe pas (avec --check : aussi si le programme
a des remarques ; avec --run : si le programme s'arrête sur une erreur,
FICHIER:LIGNE: message, la ligne de l'algorithme d'un document d'abord, ou s'il
manque une réponse) ; 2 pour une erreur
d'utilisation, dont un fichier de sortie qui remplacerait un fichier d'entrée.
Exemple : pseudal2logo --run --example 8 --input "12 18"
)";

}  // namespace

std::string_view HelpText() { return kHelpText; }

}  // namespace tortuval::cli
