<?xml version="1.0" encoding="UTF-8"?>
<!--
  The print version of a task of Stepwell: its number and title, the
  condition (text with formulas, stored formulas by link, the job), and
  every step of the solution: description, the pupil's transformation and
  the text received for it, the step's formula, and the answer.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:include href="../../common/mathml.xslt"/>
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title>
          <xsl:call-template name="task-heading"/>
        </title>
        <xsl:call-template name="mathml-css"/>
        <style type="text/css">
          body { font-family: "Liberation Serif", "Times New Roman", serif; font-size: 14pt; margin: 1.5em 2em; color: black; background: white; }
          h1 { font-size: 16pt; margin: 0 0 .2em 0; }
          .task-title { font-size: 12pt; color: #444; margin-bottom: 1em; }
          .condition { margin-bottom: 1.2em; line-height: 2.2; }
          .job { display: block; margin-top: .4em; }
          h2 { font-size: 14pt; margin: 1em 0 .4em 0; border-bottom: 1px solid #888; }
          .step { display: flex; align-items: center; margin: .3em 0; line-height: 2; }
          .step-number { min-width: 2.2em; font-weight: bold; }
          .step-body { flex: 1; }
          .step-description { display: block; color: #333; }
          .step-received { display: block; color: #333; font-style: italic; }
          .step-mark { margin-left: 1em; font-size: 11pt; }
          .mark-2 { color: #1a7f1a; }
          .mark-1 { color: #a07000; }
          .mark-0 { color: #b00000; }
          .answer { margin-top: 1em; font-weight: bold; line-height: 2; }
        </style>
      </head>
      <body>
        <xsl:apply-templates select="TASK"/>
      </body>
    </html>
  </xsl:template>

  <xsl:template name="task-heading">
    <xsl:text>Завдання</xsl:text>
    <xsl:if test="/TASK/@num">
      <xsl:text> </xsl:text>
      <xsl:value-of select="/TASK/@num"/>
    </xsl:if>
    <xsl:text>.</xsl:text>
  </xsl:template>

  <xsl:template match="TASK">
    <h1><xsl:call-template name="task-heading"/></h1>
    <div class="task-title"><xsl:value-of select="@title"/></div>
    <div class="condition">
      <xsl:apply-templates select="CONDITION/TEXT"/>
      <xsl:for-each select="CONDITION/JOBSLIST/JOB[@asTask='yes'][1]">
        <span class="job"><xsl:apply-templates select="node()" mode="job"/></span>
      </xsl:for-each>
    </div>
    <xsl:if test="SOLUTION/STEP[@type!='answer']">
      <h2>Розв'язання</h2>
      <xsl:apply-templates select="SOLUTION/STEP[@type!='answer']"/>
    </xsl:if>
    <xsl:for-each select="SOLUTION/STEP[@type='answer'][last()]">
      <div class="answer">
        <xsl:text>Відповідь: </xsl:text>
        <xsl:apply-templates select="EXPR/*"/>
        <xsl:call-template name="mark"/>
      </div>
    </xsl:for-each>
  </xsl:template>

  <!-- Condition text: words, formulas, links into the formula store. -->
  <xsl:template match="TEXT">
    <xsl:apply-templates select="node()" mode="text"/>
  </xsl:template>
  <xsl:template match="text()" mode="text">
    <xsl:value-of select="."/>
  </xsl:template>
  <xsl:template match="FORMULA" mode="text">
    <xsl:apply-templates select="*[local-name()='math']"/>
  </xsl:template>
  <xsl:template match="*[local-name()='math']" mode="text">
    <xsl:apply-templates select="."/>
  </xsl:template>
  <!-- A link is followed from the text and the job only: one inside a
       stored formula is dropped, so formulas cannot link round in a circle. -->
  <xsl:template match="FORMULALINK[not(ancestor::FSTORAGE)]" mode="text">
    <xsl:variable name="id" select="@id"/>
    <xsl:apply-templates select="ancestor::CONDITION/FSTORAGE/FORMULA[@id=$id]/*[local-name()='math']"/>
  </xsl:template>
  <xsl:template match="*" mode="text"/>

  <!-- The job: its text, formulas and links; the hidden formula and the
       answer of a begin dialog stay hidden. -->
  <xsl:template match="text()" mode="job">
    <xsl:value-of select="."/>
  </xsl:template>
  <xsl:template match="FORMULA | FORMULALINK" mode="job">
    <xsl:apply-templates select="." mode="text"/>
  </xsl:template>
  <xsl:template match="*" mode="job"/>

  <xsl:template match="STEP">
    <div class="step">
      <span class="step-number"><xsl:value-of select="@id"/>.</span>
      <span class="step-body">
        <span class="step-description"><xsl:apply-templates select="DESCRIPTION/node()" mode="description"/></span>
        <xsl:if test="@type='double'">
          <xsl:apply-templates select="USERTR/*"/>
          <span class="step-received"><xsl:apply-templates select="RECEIVE/node()" mode="description"/></span>
        </xsl:if>
        <xsl:apply-templates select="EXPR/*"/>
      </span>
      <xsl:call-template name="mark"/>
    </div>
  </xsl:template>

  <!-- Descriptions: text, line breaks written as BR, formulas. -->
  <xsl:template match="text()" mode="description">
    <xsl:value-of select="."/>
  </xsl:template>
  <xsl:template match="BR" mode="description"><br/></xsl:template>
  <xsl:template match="*[local-name()='math']" mode="description">
    <xsl:apply-templates select="."/>
  </xsl:template>
  <xsl:template match="*" mode="description"/>

  <!-- The check of a step: 2 accepted, 1 accepted with a remark, 0 not. -->
  <xsl:template name="mark">
    <xsl:choose>
      <xsl:when test="@result = '2'"><span class="step-mark mark-2">&#x2714; правильно</span></xsl:when>
      <xsl:when test="@result = '1'"><span class="step-mark mark-1">&#x25CF; правильно, але не остаточно</span></xsl:when>
      <xsl:when test="@result = '0'"><span class="step-mark mark-0">&#x2716; неправильно</span></xsl:when>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
