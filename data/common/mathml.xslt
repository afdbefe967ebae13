<?xml version="1.0" encoding="UTF-8"?>
<!--
  MathML as the formula control writes it, turned into HTML with CSS: the
  browser of the suite draws no MathML. Elements are matched by local name
  (the control writes them in the MathML namespace). Every sheet that shows
  formulas includes this one and calls the template "mathml-css" in its
  page's head.

  Written forms: math, mrow, mi, mn, mo (with a "char" inside for relation
  signs), char (signs and atoms by "type"), mfrac, msup (an "order"
  attribute for the n-th derivative), msub, msubsup, mfenced (open, close),
  mroot (one child: square root; two: radicand, degree), mtable/mtr/mtd
  (lines; after mo "{" a system, after mo "[" a union), munder (limit),
  munderover (sum and integral limits), interval (open, close), msq
  (progression member), mtmf/mtsf with mtint, mtnum, mtden (mixed and
  digit fractions), and bare text (periodic numbers).
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">

  <xsl:template name="mathml-css">
    <style type="text/css">
      .mml { font-family: "Liberation Serif", "Times New Roman", serif; white-space: nowrap; }
      .mml-block { display: inline-block; vertical-align: middle; margin: 0 .2em; }
      .m-i { font-style: italic; }
      .m-f { font-style: normal; }
      .m-n { font-style: normal; }
      .m-o { padding: 0 .15em; }
      .m-frac { display: inline-flex; flex-direction: column; vertical-align: middle; text-align: center; margin: 0 .1em; }
      .m-num { border-bottom: 1px solid currentColor; padding: 0 .15em; }
      .m-den { padding: 0 .15em; }
      .m-sup { font-size: 70%; vertical-align: .7em; }
      .m-sub { font-size: 70%; vertical-align: -.35em; }
      .m-scripts { display: inline-flex; flex-direction: column; vertical-align: middle; font-size: 70%; line-height: 1.1; }
      .m-scripts .m-upper { order: 1; }
      .m-scripts .m-lower { order: 2; }
      .m-fence { font-style: normal; }
      .m-sqrt { display: inline-flex; align-items: baseline; white-space: nowrap; }
      .m-sqrt .m-degree { order: -1; align-self: flex-start; vertical-align: baseline; }
      .m-radical { font-style: normal; }
      .m-radicand { border-top: 1px solid currentColor; padding: 0 .1em; }
      .m-degree { font-size: 60%; vertical-align: .9em; margin-right: -.3em; }
      .m-lines { display: inline-flex; flex-direction: column; vertical-align: middle; text-align: left; }
      .m-line { display: block; }
      .m-brace { font-size: 200%; font-weight: lighter; vertical-align: middle; }
      .m-under { display: inline-flex; flex-direction: column; vertical-align: middle; text-align: center; }
      .m-under-script { font-size: 70%; }
      .m-bigop { display: inline-flex; flex-direction: column; vertical-align: middle; text-align: center; }
      .m-bigop .m-op { order: 2; font-size: 160%; line-height: 1; }
      .m-bigop .m-op-lower { order: 3; font-size: 70%; }
      .m-bigop .m-op-upper { order: 1; font-size: 70%; }
      .m-mixed-int { padding-right: .05em; }
    </style>
  </xsl:template>

  <xsl:template match="*[local-name()='math']">
    <span class="mml mml-block"><xsl:apply-templates/></span>
  </xsl:template>

  <xsl:template match="*[local-name()='mrow' or local-name()='mtd']">
    <xsl:apply-templates/>
  </xsl:template>

  <!-- Letters in italics; a function's name upright. -->
  <xsl:template match="*[local-name()='mi']">
    <span>
      <xsl:attribute name="class">
        <xsl:choose>
          <xsl:when test="string-length(normalize-space(.)) &gt; 1">m-f</xsl:when>
          <xsl:otherwise>m-i</xsl:otherwise>
        </xsl:choose>
      </xsl:attribute>
      <xsl:value-of select="."/>
    </span>
  </xsl:template>

  <xsl:template match="*[local-name()='mn']">
    <span class="m-n"><xsl:value-of select="."/></span>
  </xsl:template>

  <!-- The brace of a system and the bracket of a union stand before the
       table of their lines. -->
  <xsl:template match="*[local-name()='mo']">
    <xsl:choose>
      <xsl:when test="(. = '{' or . = '[') and following-sibling::*[1][local-name()='mtable']">
        <span class="m-brace"><xsl:value-of select="."/></span>
      </xsl:when>
      <xsl:otherwise>
        <span class="m-o"><xsl:apply-templates/></span>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="*[local-name()='mo']/text()">
    <xsl:value-of select="."/>
  </xsl:template>

  <!-- Signs and atoms of the control's extension, by their type. -->
  <xsl:template match="*[local-name()='char']">
    <xsl:variable name="t" select="@type"/>
    <span class="m-o">
      <xsl:choose>
        <xsl:when test="$t='LessEqual'">&#x2264;</xsl:when>
        <xsl:when test="$t='MoreEqual'">&#x2265;</xsl:when>
        <xsl:when test="$t='NotE'">&#x2260;</xsl:when>
        <xsl:when test="$t='arrow'">&#x2192;</xsl:when>
        <xsl:when test="$t='smartGradus'">&#xB0;</xsl:when>
        <xsl:when test="$t='plusMinus'">&#xB1;</xsl:when>
        <xsl:when test="$t='smartCross'">&#x2229;</xsl:when>
        <xsl:when test="$t='smartUnion'">&#x222A;</xsl:when>
        <xsl:when test="$t='belongSet'">&#x2282;</xsl:when>
        <xsl:when test="$t='belongEquSet'">&#x2286;</xsl:when>
        <xsl:when test="$t='smartLH'">&#x2208;</xsl:when>
        <xsl:when test="$t='smartNotLH'">&#x2209;</xsl:when>
        <xsl:when test="$t='smartAngle'">&#x2220;</xsl:when>
        <xsl:when test="$t='smartVOO'">&#x21D4;</xsl:when>
        <xsl:when test="$t='smartLO'">&#x21D0;</xsl:when>
        <xsl:when test="$t='smartRO'">&#x21D2;</xsl:when>
        <xsl:when test="$t='smartPerpendicular' or $t='Perpendicular'">&#x22A5;</xsl:when>
        <xsl:when test="$t='saDelta'">&#x394;</xsl:when>
        <xsl:when test="$t='saAlpha'">&#x3B1;</xsl:when>
        <xsl:when test="$t='saBetta'">&#x3B2;</xsl:when>
        <xsl:when test="$t='saEps'">&#x3B5;</xsl:when>
        <xsl:when test="$t='saGamma'">&#x3B3;</xsl:when>
        <xsl:when test="$t='saMu'">&#x3BC;</xsl:when>
        <xsl:when test="$t='saPi'">&#x3C0;</xsl:when>
        <xsl:when test="$t='saInf'">&#x221E;</xsl:when>
        <xsl:when test="$t='saReal'">&#x211D;</xsl:when>
        <xsl:when test="$t='saEset'">&#x2205;</xsl:when>
        <xsl:when test="$t='integral'">&#x222B;</xsl:when>
        <xsl:when test="$t='ssSumma'">&#x2211;</xsl:when>
        <xsl:when test="$t='true'">істина</xsl:when>
        <xsl:when test="$t='false'">хиба</xsl:when>
        <xsl:otherwise>?</xsl:otherwise>
      </xsl:choose>
    </span>
  </xsl:template>

  <xsl:template match="*[local-name()='mfrac']">
    <span class="m-frac">
      <span class="m-num"><xsl:apply-templates select="*[1]"/></span>
      <span class="m-den"><xsl:apply-templates select="*[2]"/></span>
    </span>
  </xsl:template>

  <!-- A derivative's stroke, or the order of an n-th derivative. -->
  <xsl:template match="*[local-name()='msup']">
    <xsl:apply-templates select="*[1]"/>
    <sup class="m-sup">
      <xsl:choose>
        <xsl:when test="string(@order) != ''">(<xsl:value-of select="@order"/>)</xsl:when>
        <xsl:otherwise><xsl:apply-templates select="*[2]"/></xsl:otherwise>
      </xsl:choose>
    </sup>
  </xsl:template>

  <xsl:template match="*[local-name()='msub' or local-name()='msq']">
    <xsl:apply-templates select="*[1]"/>
    <sub class="m-sub"><xsl:apply-templates select="*[2]"/></sub>
  </xsl:template>

  <!-- Base, lower, upper in the text; the upper index drawn above. -->
  <xsl:template match="*[local-name()='msubsup']">
    <xsl:apply-templates select="*[1]"/>
    <span class="m-scripts">
      <span class="m-lower"><xsl:apply-templates select="*[2]"/></span>
      <span class="m-upper"><xsl:apply-templates select="*[3]"/></span>
    </span>
  </xsl:template>

  <xsl:template match="*[local-name()='mfenced']">
    <span class="m-fence"><xsl:value-of select="@open"/></span>
    <xsl:apply-templates/>
    <span class="m-fence"><xsl:value-of select="@close"/></span>
  </xsl:template>

  <xsl:template match="*[local-name()='interval']">
    <span class="m-fence"><xsl:value-of select="@open"/></span>
    <xsl:apply-templates select="*[1]"/>
    <span class="m-o">;</span>
    <xsl:apply-templates select="*[2]"/>
    <span class="m-fence"><xsl:value-of select="@close"/></span>
  </xsl:template>

  <!-- The radicand before the degree in the text; the degree drawn in
       front of the radical sign. -->
  <xsl:template match="*[local-name()='mroot']">
    <span class="m-sqrt">
      <span class="m-radical">&#x221A;</span>
      <span class="m-radicand"><xsl:apply-templates select="*[1]"/></span>
      <xsl:if test="count(*) &gt; 1">
        <span class="m-degree"><xsl:apply-templates select="*[2]"/></span>
      </xsl:if>
    </span>
  </xsl:template>

  <xsl:template match="*[local-name()='mtable']">
    <span class="m-lines"><xsl:apply-templates/></span>
  </xsl:template>

  <xsl:template match="*[local-name()='mtr']">
    <span class="m-line"><xsl:apply-templates/></span>
  </xsl:template>

  <!-- lim(body) over "x -> value". -->
  <xsl:template match="*[local-name()='munder']">
    <span class="m-under">
      <span><xsl:apply-templates select="*[1]"/></span>
      <span class="m-under-script"><xsl:apply-templates select="*[2]"/></span>
    </span>
  </xsl:template>

  <!-- A sum or an integral with limits: the sign, its lower and upper
       limit in the text; the upper limit drawn above. -->
  <xsl:template match="*[local-name()='munderover']">
    <span class="m-bigop">
      <span class="m-op"><xsl:apply-templates select="*[1]"/></span>
      <span class="m-op-lower"><xsl:apply-templates select="*[2]"/></span>
      <span class="m-op-upper"><xsl:apply-templates select="*[3]"/></span>
    </span>
  </xsl:template>

  <xsl:template match="*[local-name()='mtmf' or local-name()='mtsf']">
    <xsl:if test="*[local-name()='mtint']">
      <span class="m-n m-mixed-int"><xsl:value-of select="*[local-name()='mtint']"/></span>
    </xsl:if>
    <span class="m-frac">
      <span class="m-num m-n"><xsl:value-of select="*[local-name()='mtnum']"/></span>
      <span class="m-den m-n"><xsl:value-of select="*[local-name()='mtden']"/></span>
    </span>
  </xsl:template>

  <!-- Bare text of a row (a periodic number); white space between
       elements is dropped. -->
  <xsl:template match="*[local-name()='mrow' or local-name()='mtd' or local-name()='math' or local-name()='mfenced']/text()">
    <xsl:if test="normalize-space(.) != ''">
      <span class="m-n"><xsl:value-of select="normalize-space(.)"/></span>
    </xsl:if>
  </xsl:template>

</xsl:stylesheet>
