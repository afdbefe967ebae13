<?xml version="1.0" encoding="UTF-8"?>
<!--
  Animated explanations of the guide and of the task dialogs. The animation
  window writes AnimXml (an ANIM element whose "file" names the animation)
  beside guideanim.xslt or taskanim.xslt in kernel/temp; those include this
  sheet and set $anim-heading. Each animation is a sequence of frames, a
  caption and a formula each, shown in turn; an unknown name shows a
  notice.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:anim="urn:pelmarin:tessaly:anim" exclude-result-prefixes="anim">
  <xsl:include href="../common/mathml.xslt"/>
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <!-- Seconds each frame stays. -->
  <xsl:variable name="frame-seconds" select="4"/>

  <!-- The animations, read from this sheet itself. -->
  <anim:animations>
    <anim:animation name="quadratic" title="Розв'язування квадратного рівняння">
      <anim:frame caption="Рівняння записано у вигляді a·x²+b·x+c=0; тут a=1, b=−2, c=−3."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><msup><mi>x</mi><mn>2</mn></msup><mo>-</mo><mn>2</mn><mo>·</mo><mi>x</mi><mo>-</mo><mn>3</mn><mo>=</mo><mn>0</mn></mrow></math></anim:frame>
      <anim:frame caption="Обчислюємо дискримінант за формулою D=b²−4ac."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mi>D</mi><mo>=</mo><msup><mrow><mfenced open="(" close=")"><mrow><mo>-</mo><mn>2</mn></mrow></mfenced></mrow><mn>2</mn></msup><mo>-</mo><mn>4</mn><mo>·</mo><mn>1</mn><mo>·</mo><mfenced open="(" close=")"><mrow><mo>-</mo><mn>3</mn></mrow></mfenced></mrow></math></anim:frame>
      <anim:frame caption="Дискримінант додатний, тому рівняння має два корені."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mi>D</mi><mo>=</mo><mn>16</mn></mrow></math></anim:frame>
      <anim:frame caption="Корені знаходимо за формулою x=(−b±√D)/(2a)."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mrow><mo>[</mo><mtable><mtr><mtd><mrow><mi>x</mi><mo>=</mo><mo>-</mo><mn>1</mn></mrow></mtd></mtr><mtr><mtd><mrow><mi>x</mi><mo>=</mo><mn>3</mn></mrow></mtd></mtr></mtable></mrow></mrow></math></anim:frame>
    </anim:animation>
    <anim:animation name="solve" title="Як розв'язати рівняння">
      <anim:frame caption="Запишіть рівняння в полі «Умова»."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mn>2</mn><mo>·</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>=</mo><mn>7</mn></mrow></math></anim:frame>
      <anim:frame caption="Виберіть у довіднику дію «Розв'язати» і натисніть «Виконати»."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mn>2</mn><mo>·</mo><mi>x</mi><mo>+</mo><mn>3</mn><mo>=</mo><mn>7</mn></mrow></math></anim:frame>
      <anim:frame caption="У полі «Відповідь» з'явиться розв'язок рівняння."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mi>x</mi><mo>=</mo><mn>2</mn></mrow></math></anim:frame>
    </anim:animation>
    <anim:animation name="textequation" title="Як скласти рівняння за умовою задачі">
      <anim:frame caption="Позначте невідоме число буквою x."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mi>x</mi></mrow></math></anim:frame>
      <anim:frame caption="Запишіть мовою математики, що з ним зробили: помножили на 3 і додали 5."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mn>3</mn><mo>·</mo><mi>x</mi><mo>+</mo><mn>5</mn></mrow></math></anim:frame>
      <anim:frame caption="Дістали 20 — отже, маємо рівняння."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mn>3</mn><mo>·</mo><mi>x</mi><mo>+</mo><mn>5</mn><mo>=</mo><mn>20</mn></mrow></math></anim:frame>
    </anim:animation>
    <anim:animation name="textsystem" title="Як скласти систему рівнянь за умовою задачі">
      <anim:frame caption="Позначте більше число через x, а менше — через y. Їхня сума дорівнює 12:"><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mi>x</mi><mo>+</mo><mi>y</mi><mo>=</mo><mn>12</mn></mrow></math></anim:frame>
      <anim:frame caption="Їхня різниця дорівнює 4:"><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mi>x</mi><mo>-</mo><mi>y</mi><mo>=</mo><mn>4</mn></mrow></math></anim:frame>
      <anim:frame caption="Обидві умови виконуються одночасно — записуємо систему рівнянь."><math display="block" xmlns="http://www.w3.org/1998/Math/MathML"><mrow><mrow><mo>{</mo><mtable><mtr><mtd><mrow><mi>x</mi><mo>+</mo><mi>y</mi><mo>=</mo><mn>12</mn></mrow></mtd></mtr><mtr><mtd><mrow><mi>x</mi><mo>-</mo><mi>y</mi><mo>=</mo><mn>4</mn></mrow></mtd></mtr></mtable></mrow></mrow></math></anim:frame>
    </anim:animation>
  </anim:animations>
  <xsl:variable name="animations" select="document('')/xsl:stylesheet/anim:animations/anim:animation"/>

  <xsl:template match="/">
    <xsl:variable name="name" select="string(ANIM/@file)"/>
    <xsl:variable name="animation" select="$animations[@name = $name]"/>
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title><xsl:value-of select="$anim-heading"/></title>
        <xsl:call-template name="mathml-css"/>
        <style type="text/css">
          body { font-family: "Liberation Sans", Arial, sans-serif; background: #ecE9fc; margin: 0; padding: 1.5em; color: #202040; }
          h1 { font-size: 15pt; margin: 0 0 .2em 0; color: #404080; }
          h2 { font-size: 18pt; margin: 0 0 1em 0; }
          .anim-stage { position: relative; min-height: 14em; background: white; border: 1px solid #8080a0; border-radius: 6px; }
          .anim-frame { position: absolute; left: 0; right: 0; top: 0; padding: 1.2em; opacity: 0;
                        animation-name: anim-turn; animation-iteration-count: infinite; animation-timing-function: step-end; }
          .anim-caption { font-size: 15pt; margin-bottom: 1em; }
          .anim-formula { font-size: 22pt; text-align: center; }
          .anim-step { font-size: 10pt; color: #606080; margin-top: 1.2em; }
          .anim-missing { font-size: 16pt; color: #a00000; padding: 2em; text-align: center; }
        </style>
        <xsl:if test="$animation">
          <xsl:variable name="count" select="count($animation/anim:frame)"/>
          <style type="text/css">
            @keyframes anim-turn { 0% { opacity: 1; } <xsl:value-of select="format-number(100 div $count, '0.###')"/>% { opacity: 0; } 100% { opacity: 0; } }
            .anim-frame { animation-duration: <xsl:value-of select="$count * $frame-seconds"/>s; }
          </style>
        </xsl:if>
      </head>
      <body>
        <h1><xsl:value-of select="$anim-heading"/></h1>
        <xsl:choose>
          <xsl:when test="$animation">
            <h2><xsl:value-of select="$animation/@title"/></h2>
            <div class="anim-stage">
              <xsl:for-each select="$animation/anim:frame">
                <div class="anim-frame" style="animation-delay: {(position() - 1) * $frame-seconds}s">
                  <div class="anim-caption"><xsl:value-of select="@caption"/></div>
                  <div class="anim-formula"><xsl:apply-templates select="*[local-name()='math']"/></div>
                  <div class="anim-step">Крок <xsl:value-of select="position()"/> з <xsl:value-of select="last()"/></div>
                </div>
              </xsl:for-each>
            </div>
          </xsl:when>
          <xsl:otherwise>
            <div class="anim-missing">Анімацію не знайдено</div>
          </xsl:otherwise>
        </xsl:choose>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
