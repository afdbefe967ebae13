// The expression language of arbitrary constructions: a lexer, a parser that
// builds the tree, and a tree walker that lowers the tree to a program.
// Token types are fixed (the tree nodes carry them): the parser's tokens
// section lists them in order, PLUS 4 ... DIGIT 22, and both the lexer and the
// walker take that vocabulary.

header "pre_include_hpp" {
#include "constructions/plotwise/expression/expression_variable.h"
#include "constructions/plotwise/expression/compiled_program.h"
}

options {
    language = "Cpp";
    namespace = "constructions::plotwise";
    namespaceStd = "std";
    namespaceAntlr = "antlr";
    genHashLines = false;
}

class CExpressionParser extends Parser;
options {
    k = 1;
    buildAST = true;
    exportVocab = CExpression;
}
tokens {
    PLUS;
    MINUS;
    STAR;
    SLASH;
    POWER;
    NUM;
    LPAREN;
    RPAREN;
    IDENT;
    "sin";
    "cos";
    "ABS";
    WS;
    LSPAREN;
    RSPAREN;
    COMMA;
    POINT;
    LETTER;
    DIGIT;
}
{
public:
    // The name check only: the parser never sets Value.
    CExpressionVariable Variable;
}

expression
    : term ( ( PLUS^ | MINUS^ ) term )*
    ;

term
    : power ( ( STAR^ | SLASH^ ) power )*
    ;

power
    : primary ( POWER^ primary )*
    ;

primary
    : NUM
    | LPAREN^ expression RPAREN!
    | variable
    | functionCall
    ;

variable
    : i:IDENT
      {
      Variable.CheckVariable(i->getText());
      }
    ;

functionCall
    : ( "sin"^ | "cos"^ | "ABS"^ ) LPAREN! expression RPAREN!
    ;


class CExpressionLexer extends Lexer;
options {
    k = 1;
    importVocab = CExpression;
    charVocabulary = '\0'..'\377';
    caseSensitive = true;
    caseSensitiveLiterals = true;
    testLiterals = true;
}

// One character; no token, and the line counter stays at 1.
WS
    : ( ' ' | '\t' | '\n' | '\r' )
      {
      $setType(antlr::Token::SKIP);
      }
    ;

PLUS : '+' ;
MINUS : '-' ;
STAR : '*' ;
SLASH : '/' ;
POWER : '^' ;
LPAREN : '(' ;
RPAREN : ')' ;
LSPAREN : '[' ;
RSPAREN : ']' ;
COMMA : ',' ;
POINT : '.' ;

// Digits with an optional fraction: a "." must be followed by a digit.
NUM
    : ( DIGIT )+ ( options { greedy = true; } : '.' ( DIGIT )+ )?
    ;

IDENT
    : ( LETTER | '_' ) ( LETTER | '_' | DIGIT )*
    ;

protected LETTER : 'A'..'Z' | 'a'..'z' ;

protected DIGIT : '0'..'9' ;


// Lowers a tree to a program in one walk: operands first, then the operation.
// A missing operand or an identifier other than the variable throws; the
// caller then keeps a program that is undefined at every x.
class CExpressionEvaluator extends TreeParser;
options {
    importVocab = CExpression;
    defaultErrorHandler = false;
}
{
public:
    CExpressionVariable Variable;
    // Where the walk writes; set by the caller before expr.
    CompiledProgram* Program = nullptr;
}

expr
    : #( PLUS expr expr )
      {
      Program->append(OpCode::Add);
      }
    | #( MINUS expr expr )
      {
      Program->append(OpCode::Subtract);
      }
    | #( STAR expr expr )
      {
      Program->append(OpCode::Multiply);
      }
    | #( SLASH expr expr )
      {
      Program->append(OpCode::Divide);
      }
    | #( POWER expr expr )
      {
      Program->append(OpCode::Power);
      }
    | number
    | #( LPAREN expr )
    | variable
    | #( "sin" expr )
      {
      Program->append(OpCode::Sin);
      }
    | #( "cos" expr )
      {
      Program->append(OpCode::Cos);
      }
    | #( "ABS" expr )
      {
      Program->append(OpCode::Abs);
      }
    ;

number
    : n:NUM
      {
      Program->appendConstant(numberValue(n->getText()));
      }
    ;

variable
    : i:IDENT
      {
      Variable.CheckVariable(i->getText());
      Program->appendVariable();
      }
    ;
