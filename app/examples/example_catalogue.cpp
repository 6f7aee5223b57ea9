#include "app/examples/example_catalogue.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/examples/document_builder.h"
#include "expr/cp1252.h"

namespace tortuval::examples {
namespace {

// The documents, written in UTF-8 as a reader checks them: header elements one per line, then the
// items as a tree of code values. They are converted to Windows-1252 once, when first asked for.

// Table of values of x-1-1/x for x from 1 to 2 in steps of 0.1 (introduction to TANT_QUE).
constexpr DocumentSource kValueTable{
    .headerElements = R"xml(
<description texte="Tableau des images d'une fonction sur un intervalle avec un pas de 0.1&#xa;(initiation à TANT QUE)" courant="AFFICHER y" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#x
  1#NOMBRE#y
101#debutalgo
  5#x#1#pasliste
  15#x&lt;=2
    16#debuttantque
    5#y#x-1-1/x#pasliste
    3#x#0#pasliste
    4# -> #0
    3#y#1#pasliste
    5#x#x+0.1#pasliste
    17#fintantque
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Bubble sort of a list of 10 random whole numbers.
constexpr DocumentSource kBubbleSort{
    .headerElements = R"xml(
<description texte="Exemple de tri à bulle sur une liste de 10 nombres (générés aléatoirement) compris entre 0 et 20." courant="POUR i ALLANT_DE 1 A 10" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#LISTE#listeatrier
  1#NOMBRE#i
  1#NOMBRE#j
  1#NOMBRE#temp
101#debutalgo
  4#Avant le tri :#1
  12#i#1#10
    13#debutpour
    5#listeatrier#floor(random()*20+1)#i
    3#listeatrier#0#i
    4#  #0
    14#finpour
  12#i#1#9
    13#debutpour
    12#j#1#9
      13#debutpour
      6#listeatrier[j+1]&lt;listeatrier[j]
        7#debutsi
        5#temp#listeatrier[j]#pasliste
        5#listeatrier#listeatrier[j+1]#j
        5#listeatrier#temp#j+1
        8#finsi
      14#finpour
    14#finpour
  4# #1
  4#Après le tri :#1
  12#i#1#10
    13#debutpour
    3#listeatrier#0#i
    4#  #0
    14#finpour
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Approximation of PI by the Monte Carlo method (200000 random points).
constexpr DocumentSource kMonteCarlo{
    .headerElements = R"xml(
<description texte="Approximation de la valeur de PI par la méthode de Monte Carlo" courant="approxpi PREND_LA_VALEUR 4*somme/200000" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#x
  1#NOMBRE#y
  1#NOMBRE#i
  1#NOMBRE#approxpi
  1#NOMBRE#somme
101#debutalgo
  5#somme#0#pasliste
  12#i#1#200000
    13#debutpour
    5#x#random()#pasliste
    5#y#random()#pasliste
    6#x*x+y*y&lt;1
      7#debutsi
      5#somme#somme+1#pasliste
      8#finsi
    14#finpour
  5#approxpi#4*somme/200000#pasliste
  3#approxpi#0#pasliste
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Syracuse sequence up to its 100th term, first term read from the user.
constexpr DocumentSource kSyracuse{
    .headerElements = R"xml(
<description texte="Calcul des termes de la suite de syracuse jusqu'à u100 après avoir entré le premier terme." courant="FIN_ALGORITHME" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#n
  1#NOMBRE#u
  1#NOMBRE#i
101#debutalgo
  2#n#pasliste
  5#u#n#pasliste
  4#0 -> #0
  3#u#1#pasliste
  12#i#1#100
    13#debutpour
    6#u%2==0
      7#debutsi
      5#u#u/2#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        5#u#3*u+1#pasliste
        11#finsinon
    3#i#0#pasliste
    4# -> #0
    3#u#1#pasliste
    14#finpour
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Approximate integral on [a,b] by the trapezoid rule, with F1(x) = x*x.
constexpr DocumentSource kTrapezoid{
    .headerElements = R"xml(
<description texte="Calcul de la valeur approchée d'une intégrale sur [a,b] par la méthode des trapèzes.&#xa;La fonction est définie dans l'onglet &quot;Utiliser une fonction numérique&quot;" courant="FIN_ALGORITHME" />
<fonction fctcode="x*x" fctetat="actif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#a
  1#NOMBRE#b
  1#NOMBRE#nbtrapezes
  1#NOMBRE#pas
  1#NOMBRE#i
  1#NOMBRE#approxintegrale
101#debutalgo
  2#a#pasliste
  2#b#pasliste
  2#nbtrapezes#pasliste
  6#nbtrapezes>0 ET b>a
    7#debutsi
    5#approxintegrale#0#pasliste
    5#pas#(b-a)/nbtrapezes#pasliste
    12#i#0#nbtrapezes-1
      13#debutpour
      5#approxintegrale#approxintegrale+pas/2*(F1(a+i*pas)+F1(a+(i+1)*pas))#pasliste
      14#finpour
    3#approxintegrale#0#pasliste
    8#finsi
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Decomposition of a whole number into prime factors.
constexpr DocumentSource kPrimeFactors{
    .headerElements = R"xml(
<description texte="Décomposition en facteurs premiers d'un entier positif (&lt;400000)" courant="AFFICHER puissance" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#n
  1#NOMBRE#diviseur
  1#NOMBRE#nbfacteurs
  1#NOMBRE#a
  1#NOMBRE#puissance
101#debutalgo
  2#n#pasliste
  3#n#0#pasliste
  4#=#0
  5#a#n#pasliste
  5#nbfacteurs#0#pasliste
  12#diviseur#2#floor(n/2)
    13#debutpour
    6#a%diviseur==0
      7#debutsi
      5#nbfacteurs#nbfacteurs+1#pasliste
      5#puissance#1#pasliste
      5#a#a/diviseur#pasliste
      15#a%diviseur==0
        16#debuttantque
        5#puissance#puissance+1#pasliste
        5#a#a/diviseur#pasliste
        17#fintantque
      6#nbfacteurs>1
        7#debutsi
        4# * #0
        8#finsi
      3#diviseur#0#pasliste
      4#^#0
      3#puissance#0#pasliste
      8#finsi
    14#finpour
  6#nbfacteurs==0
    7#debutsi
    3#n#0#pasliste
    8#finsi
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Curve of F1(x) = x^3 - 3x^2 drawn as segments in a graphics frame.
constexpr DocumentSource kFunctionCurve{
    .headerElements = R"xml(
<description texte="Courbe représentative d'une fonction&#xa;(la fonction et le repère sont définies dans les onglets &quot;utiliser une fonction numérique&quot; et &quot;dessiner dans un repère&quot;)" courant="TANT_QUE (xdepart&lt;4) FAIRE" />
<fonction fctcode="pow(x,3)-3*pow(x,2)" fctetat="actif" />
<repere repetat="actif" repcode="-2#4#-10#10#1#1" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#pas
  1#NOMBRE#xdepart
  1#NOMBRE#xfin
101#debutalgo
  5#pas#0.1#pasliste
  5#xdepart#-2#pasliste
  15#xdepart&lt;4
    16#debuttantque
    5#xfin#xdepart+pas#pasliste
    51#xdepart#F1(xdepart)#xfin#F1(xfin)#Rouge
    5#xdepart#xfin#pasliste
    17#fintantque
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Greatest common divisor by Euclid's method.
constexpr DocumentSource kEuclidGcd{
    .headerElements = R"xml(
<description texte="PGCD de deux entiers positifs par la méthode d'Euclide" courant="TANT_QUE (B!=0) FAIRE" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#A
  1#NOMBRE#B
  1#NOMBRE#R
101#debutalgo
  2#A#pasliste
  2#B#pasliste
  4#Le PGCD de #0
  3#A#0#pasliste
  4# et #0
  3#B#0#pasliste
  4# est : #0
  15#B!=0
    16#debuttantque
    5#R#A%B#pasliste
    5#A#B#pasliste
    5#B#R#pasliste
    17#fintantque
  3#A#0#pasliste
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Bracketing the square root of a by the Babylonian method.
constexpr DocumentSource kBabylon{
    .headerElements = R"xml(
<description texte="Encadrement de racine de a par la méthode de babylone" courant="AFFICHER &quot; &lt;= racine &lt;= &quot;" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#x
  1#NOMBRE#y
  1#NOMBRE#a
101#debutalgo
  2#a#pasliste
  5#x#1#pasliste
  5#y#a#pasliste
  15#abs(y-x)>1e-8
    16#debuttantque
    5#x#(x+y)/2#pasliste
    5#y#a/x#pasliste
    6#x&lt;y
      7#debutsi
      3#x#0#pasliste
      4# &lt; racine &lt; #0
      3#y#1#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        3#y#0#pasliste
        4# &lt;= racine &lt;= #0
        3#x#1#pasliste
        11#finsinon
    17#fintantque
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Stored with an unbalanced parenthesis, and shown that way in the listing.
constexpr ReadableLineOverride kDichotomyOverrides[] = {
    {"15#b-a>precision", "TANT_QUE (b-a)>precision) FAIRE"},
};

// Root of F1(x) = x-1-1/x between 1 and 2 by dichotomy.
constexpr DocumentSource kDichotomy{
    .headerElements = R"xml(
<fonction fctcode="x-1-1/x" fctetat="actif" />
<repere repetat="inactif" repcode="-10#10#-10#10#2#2" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#precision
  1#NOMBRE#a
  1#NOMBRE#b
  1#NOMBRE#m
101#debutalgo
  5#a#1#pasliste
  5#b#2#pasliste
  2#precision#pasliste
  15#b-a>precision
    16#debuttantque
    5#m#(a+b)/2#pasliste
    6#F1(m)*F1(b)>0
      7#debutsi
      5#b#m#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        5#a#m#pasliste
        11#finsinon
    3#a#0#pasliste
    4# &lt; solution &lt; #0
    3#b#1#pasliste
    17#fintantque
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
    .overrides = kDichotomyOverrides,
};

// Euler's method for y' = 1/(1+x^2), drawn as segments.
constexpr DocumentSource kEuler{
    .headerElements = R"xml(
<fonction fctcode="1/(1+x*x)" fctetat="actif" />
<repere repetat="actif" repcode="0#1#0#1#0.1#0.1" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#h
  1#NOMBRE#xA
  1#NOMBRE#yA
  1#NOMBRE#xB
  1#NOMBRE#yB
101#debutalgo
  5#h#0.05#pasliste
  5#xA#0#pasliste
  5#yA#0#pasliste
  15#xA&lt;1
    16#debuttantque
    5#xB#xA+h#pasliste
    5#yB#yA+h*F1(xA)#pasliste
    3#xB#0#pasliste
    4# ; #0
    3#yB#1#pasliste
    51#xA#yA#xB#yB#Rouge
    5#xA#xB#pasliste
    5#yA#yB#pasliste
    17#fintantque
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// The Duke of Tuscany problem: 100000 throws of three dice, bar chart of frequencies.
constexpr DocumentSource kDukeOfTuscany{
    .headerElements = R"xml(
<description texte="Problème du duc de toscane (simulation de 100000 lancers de 3 dés)&#xa;Tracé du diagramme en bâtons des fréquences observées" courant="POUR i ALLANT_DE 1 A 100000" />
<fonction fctcode="" fctetat="inactif" />
<repere repetat="actif" repcode="2#19#0#15#1#1" />
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#LISTE#issue
  1#NOMBRE#i
  1#NOMBRE#somme
  1#NOMBRE#propor
101#debutalgo
  12#i#3#18
    13#debutpour
    5#issue#0#i
    14#finpour
  12#i#1#100000
    13#debutpour
    5#somme#floor(6*random()+1)+floor(6*random()+1)+floor(6*random()+1)#pasliste
    5#issue#issue[somme]+1#somme
    14#finpour
  12#i#3#18
    13#debutpour
    5#propor#issue[i]/1000#pasliste
    3#i#0#pasliste
    4# -> #0
    3#propor#1#pasliste
    51#i#0#i#propor#Rouge
    14#finpour
102#finalgo
)tree",
    .form = ItemForm::kSpaced,
};

// Greatest common divisor by a recursive F2 function.
constexpr DocumentSource kRecursiveGcd{
    .headerElements = R"xml(
<description texte="Détermination du pgcd de deux entiers à l'aide d'une fonction récursive&#xa;(exemple d'utilisation de panneau &quot;Fonction avancée&quot;)" courant="AFFICHER pgcd"/>
<fonction fctcode="" fctetat="inactif"/>
<F2 F2defaut="F2(p,q-p)" F2lignes="p==0@q#q==0@p#q&lt;=p@F2(p-q,q)#" F2etat="actif" F2para="p,q"/>
<repere repetat="inactif" repcode="-10#10#-10#10#2#2"/>
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#p
  1#NOMBRE#q
  1#NOMBRE#pgcd
101#debutalgo
  2#p#pasliste
  2#q#pasliste
  5#pgcd#F2(p,q)#pasliste
  3#pgcd#0#pasliste
102#finalgo
)tree",
    .form = ItemForm::kCompact,
};

// Selection sort using the built-in function PSEUDAL_POS_MINIMUM.
constexpr DocumentSource kPositionOfMinimum{
    .headerElements = R"xml(
<description courant="ntermes EST_DU_TYPE NOMBRE" texte=""/>
<extension extnom="inactif"/>
<fonction fctetat="inactif" fctcode=""/>
<F2 F2defaut="" F2etat="inactif" F2para="" F2lignes=""/>
<repere repetat="inactif" repcode="-10#10#-10#10#2#2"/>
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#LISTE#listenombre
  1#NOMBRE#temp
  1#NOMBRE#i
  1#NOMBRE#min
  1#NOMBRE#ntermes
101#debutalgo
  2#ntermes#pasliste
  2#listenombre#4
  12#i#1#ntermes-1
    13#debutpour
    5#min#PSEUDAL_POS_MINIMUM(listenombre,i+1,ntermes)#pasliste
    6#listenombre[i]>listenombre[min]
      7#debutsi
      5#temp#listenombre[min]#pasliste
      5#listenombre#listenombre[i]#min
      5#listenombre#temp#i
      8#finsi
    14#finpour
  12#i#1#ntermes
    13#debutpour
    3#listenombre#0#i
    4# #0
    14#finpour
102#finalgo
)tree",
    .form = ItemForm::kCodeFirst,
};

// Probabilities of the normal law N(0,1) or N(m,s) by numerical integration.
constexpr DocumentSource kNormalLaw{
    .headerElements = R"xml(
<description texte="Loi normale centrée N(0,1)&#xa;Loi normale de paramètres N(m,s)&#xa;           s>0" courant="pas EST_DU_TYPE NOMBRE"/>
<extension extnom="inactif"/>
<fonction fctcode="(1/(sqrt(2*Math.PI)))*exp(-.5*x*x)" fctetat="actif"/>
<F2 F2defaut="" F2lignes="w>=0@floor(g*w)/g#w&lt;0@-floor(-g*w)/g#" F2etat="actif" F2para="w,g"/>
<repere repetat="actif" repcode="xmin#xmax#ymin#ymax#1#1"/>
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#a
  1#NOMBRE#b
  1#NOMBRE#X1
  1#NOMBRE#X2
  1#NOMBRE#z
  1#NOMBRE#i
  1#NOMBRE#xmin
  1#NOMBRE#xmax
  1#NOMBRE#ymin
  1#NOMBRE#ymax
  1#NOMBRE#h
  1#NOMBRE#F1x
  1#NOMBRE#a2
  1#NOMBRE#b2
  1#NOMBRE#m
  1#NOMBRE#s
  1#NOMBRE#esp
  1#NOMBRE#sigma
  1#NOMBRE#X3
  1#NOMBRE#aire
  1#NOMBRE#Pr
  1#NOMBRE#loi
  1#NOMBRE#j
  1#NOMBRE#g
  1#NOMBRE#w
  1#NOMBRE#s1
  1#NOMBRE#z1
  1#NOMBRE#z2
  1#NOMBRE#X
  1#NOMBRE#s2
  1#NOMBRE#aa
  1#NOMBRE#bb
  1#NOMBRE#aaa
  1#NOMBRE#tt
  1#NOMBRE#pas
101#debutalgo
  4#   cliquez sur CONTINUER à chaque PAUSE#1
  4# m est l'espérance mathématique, s est l'écart-type.#1
  4#  #1
  4#           1- LOI  NORMALE  CENTREE  réduite#1
  4#              m = 0 et s = 1, c'est la loi N(0,1), tapez 1#1
  4#  #1
  4#           2- LOI NORMALE généralisée à paramètres N(m,s), tapez 2.#1
  4#  #1
  4#          quelle loi choisissez-vous 1 ou 2 ?#1
  2#loi#pasliste
  6#loi==1
    7#debutsi
    4#  vous avez choisi la 1 : loi normale centrée N(0,1)#1
    5#esp#0#pasliste
    5#sigma#1#pasliste
    8#finsi
    9#sinon
      10#debutsinon
      4#vous avez choisi la 2 : loi normale paramétrée N(m,s)#1
      4#donnez les valeurs de m = esp et de s = sigma#1
      2#esp#pasliste
      2#sigma#pasliste
      11#finsinon
  5#m#esp#pasliste
  5#s#sigma#pasliste
  5#xmin#m-5*s#pasliste
  5#xmax#m+5*s#pasliste
  4#  #1
  4#      Calcul simultané de Pr(X, X &lt; a) et de Pr(X, X > a)#1
  4#  #1
  4#   REMARQUE : la valeur de a doit être comprise entre #0
  3#xmin#0#pasliste
  4#  et  #0
  3#xmax#1#pasliste
  4#  #1
  4#   donnez la valeur initiale de a :#0
  2#aaa#pasliste
  4#  donnez le pas : #0
  2#pas#pasliste
  4#  Calcul des 9 valeurs de Pr(X  pour X allant de #0
  3#aaa#0#pasliste
  4# à #0
  5#z#aaa+8*pas#pasliste
  3#z#1#pasliste
  4# à moins que l'on soit limité par xmax = #0
  3#xmax#1#pasliste
  18#pause
  5#tt#0#pasliste
  5#a#aaa#pasliste
  15#tt&lt;9 ET a&lt;xmax
    16#debuttantque
    4#  #1
    4#                  ============#1
    4#                   a = #0
    3#a#1#pasliste
    6#loi==2
      7#debutsi
      5#a#(a-m)/s#pasliste
      5#aa#a*s+m#pasliste
      5#xmin#-5#pasliste
      5#xmax#5#pasliste
      8#finsi
    5#a2#a#pasliste
    6#a>0
      7#debutsi
      5#a2#a#pasliste
      5#b2#xmax#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        5#a2#xmin#pasliste
        5#b2#a#pasliste
        11#finsinon
    5#h#.5*(b2-a2)/500000#pasliste
    5#X1#a2#pasliste
    4#  probabilité pour X &lt;  #0
    6#loi==2
      7#debutsi
      3#aa#0#pasliste
      4# ou pour X > #0
      3#aa#1#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        3#a#0#pasliste
        4# ou pour X > #0
        3#a#1#pasliste
        11#finsinon
    4#  par la densité de probabilité N(#0
    3#m#0#pasliste
    4#,#0
    3#s#0#pasliste
    4#)#1
    4#  #1
    5#X1#a2#pasliste
    5#aire#h*F1(X1)#pasliste
    5#s1#aire#pasliste
    5#X#X1#pasliste
    12#j#1#8
      13#debutpour
      5#aire#s1#pasliste
      5#X1#X#pasliste
      12#i#1#400000
        13#debutpour
        5#X1#X1+h#pasliste
        5#aire#h*F1(X1)+aire#pasliste
        6#X1&lt;=b2
          7#debutsi
          5#X1#X1+h#pasliste
          5#aire#h*F1(X1)+aire#pasliste
          5#s1#aire#pasliste
          5#X#X1#pasliste
          8#finsi
          9#sinon
            10#debutsinon
            5#aire#s1#pasliste
            5#X1#X#pasliste
            5#j#8#pasliste
            5#i#400000#pasliste
            11#finsinon
        14#finpour
      14#finpour
    6#a>m
      7#debutsi
      5#z1#1-s1#pasliste
      5#z2#s1#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        5#z2#1-s1#pasliste
        5#z1#s1#pasliste
        11#finsinon
    5#g#100000#pasliste
    4#  Pr(X, X &lt; #0
    6#loi==2
      7#debutsi
      5#a#s*a+m#pasliste
      8#finsi
    3#a#0#pasliste
    4#) = #0
    3#z1#0#pasliste
    4#    ou  #0
    5#z#F2(z1,g)#pasliste
    3#z#1#pasliste
    4#  Pr(X, X > #0
    3#a#0#pasliste
    4#) = #0
    3#z2#0#pasliste
    4#    ou  #0
    5#z#F2(z2,g)#pasliste
    3#z#1#pasliste
    5#xmax#m+5*s#pasliste
    6#a&lt;xmax ET tt&lt;9
      7#debutsi
      5#tt#tt+1#pasliste
      5#a#a+pas#pasliste
      8#finsi
      9#sinon
        10#debutsinon
        5#tt#9#pasliste
        5#j#8#pasliste
        5#i#400000#pasliste
        11#finsinon
    17#fintantque
102#finalgo
)tree",
    .form = ItemForm::kCompact,
};

// Random whole numbers between a minimum and a maximum.
constexpr DocumentSource kRandomIntegers{
    .headerElements = R"xml(
<description texte="nombres alétoires compris entre min et max" courant="SI (U[i]>=min ET U[i]&lt;=max) ALORS"/>
<fonction fctcode="" fctetat="inactif"/>
<F2 F2defaut="" F2lignes="" F2etat="inactif" F2para=""/>
<repere repetat="inactif" repcode="-10#10#-10#10#2#2"/>
)xml",
    .itemTree = R"tree(
100#declarationsvariables
  1#NOMBRE#n
  1#NOMBRE#i
  1#NOMBRE#p
  1#NOMBRE#q
  1#NOMBRE#min
  1#NOMBRE#max
  1#LISTE#U
  1#NOMBRE#j
  1#NOMBRE#k
  1#NOMBRE#r
101#debutalgo
  5#q#0#pasliste
  5#i#0#pasliste
  5#p#0#pasliste
  4#Générer des entiers aléatoires compris entre un maximum et un minimum#1
  4#Combien de nombres voulez-vous au total ?   #1
  2#n#pasliste
  4#donner le plus petit :#1
  2#min#pasliste
  4#Et le plus grand :#1
  2#max#pasliste
  4#..............#1
  4#vous cherchez #0
  3#n#0#pasliste
  4# entiers compris entre #0
  3#min#0#pasliste
  4#  et  #0
  3#max#1#pasliste
  4#Après PAUSE, cliquez sur CONTINUER.#1
  18#pause
  5#q#max+1#pasliste
  5#i#1#pasliste
  15#i&lt;=n
    16#debuttantque
    5#U#floor(round(q*random()))#i
    6#U[i]>=min ET U[i]&lt;=max
      7#debutsi
      5#i#i+1#pasliste
      8#finsi
    17#fintantque
  4#Les voici :#1
  4#======#1
  5#q#floor(n/10)#pasliste
  5#r#n%10#pasliste
  5#i#1#pasliste
  5#j#0#pasliste
  12#k#1#q
    13#debutpour
    12#i#j+1#j+10
      13#debutpour
      3#U#0#i
      4#   #0
      14#finpour
    5#j#j+10#pasliste
    4#  #1
    14#finpour
  12#i#j+1#j+r
    13#debutpour
    3#U#0#i
    4#   #0
    14#finpour
102#finalgo
)tree",
    .form = ItemForm::kNoOpeningBracket,
};

struct CatalogueEntry {
  std::string_view caption;
  const DocumentSource* source;
};

// Radio-group order. Two entries share the caption "prof_dichotomie." but not the document, and
// "prof_somme_entiers." carries the very document of "prof_Euler.".
constexpr CatalogueEntry kCatalogue[] = {
    {"prof_dichotomie.", &kValueTable},
    {"prof_tribulle.", &kBubbleSort},
    {"prof_montecarlo.", &kMonteCarlo},
    {"prof_suite_Syracuse.", &kSyracuse},
    {"prof_intégrale_trapèze.", &kTrapezoid},
    {"prof_décomp._facteurs_premiers.", &kPrimeFactors},
    {"prof_courbe_fonction.", &kFunctionCurve},
    {"prof_pgdc_Euclide.", &kEuclidGcd},
    {"prof_Babylone.", &kBabylon},
    {"prof_dichotomie.", &kDichotomy},
    {"prof_Euler.", &kEuler},
    {"prof_somme_entiers.", &kEuler},
    {"prof_ductoscane.", &kDukeOfTuscany},
    {"prof_pgdc_récursif.", &kRecursiveGcd},
    {"fonction pos_minimum", &kPositionOfMinimum},
    {"loi_normale_centrée.", &kNormalLaw},
    {"nombres_aléatoires.", &kRandomIntegers},
};
static_assert(std::size(kCatalogue) == kExampleCount);

std::size_t CheckedIndex(int index) {
  if (index < 0 || index >= kExampleCount) {
    throw std::out_of_range("example index out of range: " + std::to_string(index));
  }
  return static_cast<std::size_t>(index);
}

const std::array<std::string, kExampleCount>& Captions() {
  static const std::array<std::string, kExampleCount> captions = [] {
    std::array<std::string, kExampleCount> result;
    for (std::size_t i = 0; i < result.size(); ++i) {
      result[i] = expr::Utf8ToCp1252(kCatalogue[i].caption);
    }
    return result;
  }();
  return captions;
}

const std::array<std::string, kExampleCount>& Documents() {
  static const std::array<std::string, kExampleCount> documents = [] {
    std::array<std::string, kExampleCount> result;
    for (std::size_t i = 0; i < result.size(); ++i) {
      result[i] = expr::Utf8ToCp1252(BuildDocument(*kCatalogue[i].source));
    }
    return result;
  }();
  return documents;
}

}  // namespace

std::string_view ExampleCaption(int index) { return Captions()[CheckedIndex(index)]; }

const std::string& ExampleDocument(int index) { return Documents()[CheckedIndex(index)]; }

}  // namespace tortuval::examples
